// Map > Generate rectangles: a grid of equal rectangles replaces the map.
#include "appcore/MainCore.h"
#include "model/RectGenerator.h"

namespace tvlc {

bool TMainCore::GenerateRectangles(int32_t xSize, int32_t ySize) {
  if (!PicData || !MayStart(Controls.MapMenuEnabled)) return false;
  if (xSize < 1 || ySize < 1 || xSize > kMaxShapeExtent || ySize > kMaxShapeExtent) {
    AddLog("Error: rectangle size " + std::to_string(xSize) + "x" + std::to_string(ySize) +
           " is not between 1x1 and " + std::to_string(kMaxShapeExtent) + "x" +
           std::to_string(kMaxShapeExtent) + "\r\n");
    return false;
  }
  TBusy busy(*this, kFileOrMap);
  Controls.WindowEnabled = false;
  host_.Changed(kControlsChanged);
  AddLog("Generating rectangle map...\r\n...adding shapes of size " + std::to_string(xSize) +
         "x" + std::to_string(ySize));
  MapWidth = PicWidth;
  MapHeight = PicHeight;
  MapDrawArea = TImage(MapWidth, MapHeight, kWhite);
  pump_.Force();
  ReplaceShapes({});
  SetProgressRange(int64_t(MapWidth) * MapHeight - 1);

  TRectangleMap grid = tvlc::GenerateRectangles(
      MapWidth, MapHeight, xSize, ySize, PicData, PicWidth,
      [this](int64_t reached) { Controls.ProgressBar.Position = int(reached); },
      [this] { pump_.Poll(); });
  Map = std::move(grid.Image);
  MapData = std::move(grid.MapData);
  ReplaceShapes(std::move(grid.Shapes));

  Controls.ProgressBar.Visible = false;
  AddLog("...done.\r\n");
  ResetDecodedViews();
  Controls.WindowEnabled = true;
  host_.Changed(kControlsChanged | kProgressChanged | kViewsChanged);
  return true;
}

}  // namespace tvlc
