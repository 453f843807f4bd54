// The four fields of the rectangle dialog edited in any order with any text,
// then Generate with the sizes they hold, on a fixed picture.
#include <algorithm>

#include "FuzzSupport.h"
#include "appcore/MainCore.h"

using namespace tvlc;

namespace {

using THandler = void (TRectFields::*)(const std::string&, int);
constexpr THandler kHandlers[] = {&TRectFields::XSizeSpinChange, &TRectFields::YSizeSpinChange,
                                  &TRectFields::XCountSpinChange,
                                  &TRectFields::YCountSpinChange};

int64_t Ceil(int64_t extent, int64_t size) { return (extent + size - 1) / size; }

}  // namespace

// Each edit is one byte choosing the field and the extent it is coupled
// with, then the field's text up to a zero byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 256) return -1;
  fuzz::TQuietHost host;
  TMainCore core(host, fuzz::ScratchFolder());
  fuzz::Expect(core.LoadPicture1Click(fuzz::DataFile("picture.bmp")),
               "the fixed picture does not load");
  // The extents a picture can have, small and large.
  const int kExtents[] = {core.PicWidth, core.PicHeight, 1, 0x7fff, 65535, 1 << 20};

  TRectFields& fields = core.RectFields;
  size_t i = 0;
  while (i < size) {
    const uint8_t choice = data[i++];
    const size_t end = std::find(data + i, data + size, 0) - data;
    const std::string text(reinterpret_cast<const char*>(data + i), end - i);
    i = end + 1;
    const int extent = kExtents[(choice >> 2) % std::size(kExtents)];
    (fields.*kHandlers[choice & 3])(text, extent);
    fuzz::Expect(fields.XSize >= 0 && fields.YSize >= 0 && fields.XCount >= 0 &&
                     fields.YCount >= 0,
                 "a field holds a negative value");
  }

  const int xSize = fields.XSize, ySize = fields.YSize;
  if (!core.GenerateRectangles(xSize, ySize)) {
    fuzz::Expect(core.Shapes.empty(), "a refused Generate left shapes");
    return 0;
  }
  const int64_t expected = Ceil(core.PicWidth, xSize) * Ceil(core.PicHeight, ySize);
  fuzz::Expect(int64_t(core.Shapes.size()) == expected, "wrong number of rectangles");
  return 0;
}
