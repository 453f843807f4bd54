// A project file opened through File > Open, then everything the window can
// do with the spectra it holds without encoding: decode every shape, save
// the project again and write the compressed picture.
#include "FuzzSupport.h"
#include "appcore/MainCore.h"
#include "files/ProjectFile.h"

using namespace tvlc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("input.tvp", data, size);
  fuzz::TQuietHost host;
  TMainCore core(host, fuzz::ScratchFolder());

  if (!core.Open1Click(path)) {
    fuzz::Expect(core.Picture.Empty() && core.Map.Empty() && core.Shapes.empty() && !core.PicData,
                 "a refused project changed the state");
    return 0;
  }
  core.DecAllBtnClick();

  // What was opened saves to a file that opens to the same shapes.
  const std::string copy = fuzz::ScratchFolder() + "/copy.tvp";
  if (core.Save1Click(copy)) {
    fuzz::TQuietHost otherHost;
    TMainCore other(otherHost, fuzz::ScratchFolder());
    fuzz::Expect(other.Open1Click(copy), "a saved project does not open");
    fuzz::Expect(other.Shapes.size() == core.Shapes.size(), "a saved project lost shapes");
  }
  core.ExportSpectrum1Click(fuzz::ScratchFolder() + "/copy.tvzx");
  return 0;
}
