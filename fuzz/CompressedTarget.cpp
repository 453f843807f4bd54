// A compressed picture opened through File > Open Compressed Picture onto a
// fixed picture covered by rectangles, then every shape decoded.
#include "FuzzSupport.h"
#include "appcore/MainCore.h"

using namespace tvlc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("input.tvzx", data, size);
  fuzz::TQuietHost host;
  TMainCore core(host, fuzz::ScratchFolder());
  // The map the seeds were made for: 32 x 24 pixels in 8 x 8 rectangles.
  fuzz::Expect(core.LoadPicture1Click(fuzz::DataFile("picture.bmp")) &&
                   core.GenerateRectangles(8, 8),
               "the fixed picture does not load");

  if (core.OpenCompressedPicture1Click(path)) core.DecAllBtnClick();
  return 0;
}
