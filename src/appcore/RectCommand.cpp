// Map > Generate rectangles: a grid of equal rectangles replaces the map.
#include "appcore/MainCore.h"
#include "model/RectGenerator.h"

namespace tvlc {

bool TMainCore::GenerateRectangles(int32_t xSize, int32_t ySize) {
  if (!PicData || !MayStart(Controls.MapMenuEnabled)) return false;
  return WithinMemory("generate rectangles", [&] { return GenerateRectangleMap(xSize, ySize); });
}

bool TMainCore::GenerateRectangleMap(int32_t xSize, int32_t ySize) {
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
  pump_.Force();
  SetProgressRange(int64_t(PicWidth) * PicHeight - 1);
  // The new map is made before the old one goes, so that running out of
  // memory leaves the old one in place.
  TRectangleMap grid;
  try {
    grid = tvlc::GenerateRectangles(
        PicWidth, PicHeight, xSize, ySize, PicData, PicWidth,
        [this](int64_t reached) { Controls.ProgressBar.Position = int(reached); },
        [this] { pump_.Poll(); });
    DecodedMask.reserve(size_t(PicWidth) * size_t(PicHeight));
  } catch (const std::bad_alloc&) {
    Controls.ProgressBar.Visible = false;
    Controls.WindowEnabled = true;
    host_.Changed(kControlsChanged | kProgressChanged);
    throw;
  }
  MapWidth = PicWidth;
  MapHeight = PicHeight;
  MapDrawArea = TImage(MapWidth, MapHeight, kWhite);
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
