// A file loaded as the picture and then as the map, through the window's own
// commands: the bitmap reader, the grey levels, the labels and the shape
// search.
#include "FuzzSupport.h"
#include "appcore/MainCore.h"

using namespace tvlc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("input.bmp", data, size);
  fuzz::TQuietHost host;
  TMainCore core(host, fuzz::ScratchFolder());

  const bool picture = core.LoadPicture1Click(path);
  fuzz::Expect(picture == bool(core.PicData), "picture loaded without grey levels or the reverse");
  if (picture)
    fuzz::Expect(core.PicData->size() == size_t(core.PicWidth) * size_t(core.PicHeight),
                 "grey levels do not cover the picture");

  const bool map = core.LoadMap1Click(path);
  if (map) {
    fuzz::Expect(core.MapData && core.MapData->size() == size_t(core.MapWidth) * core.MapHeight,
                 "labels do not cover the map");
    size_t points = 0;
    for (const TShapeItem& item : core.Shapes) points += size_t(item.Shape->PointCount);
    fuzz::Expect(points == core.MapData->size(), "the shapes do not cover the map exactly");
  } else {
    fuzz::Expect(core.Shapes.empty() && !core.MapData, "a refused map left shapes behind");
  }
  return 0;
}
