// The Spectrum and Coeficients tabs.
#include <algorithm>

#include "appcore/MainCore.h"
#include "files/ShapeQuantization.h"
#include "files/SpectrumFiles.h"

namespace tvlc {

void TMainCore::RedrawSpecBtnClick() {
  if (!SelectedShape) return;
  TShape& shape = *SelectedShape;
  const std::string name = Shapes[size_t(SelectedIndex)].Name;
  AddLog("...updating spectrum view for " + name);
  pump_.Force();

  Spectrum.ViewWidth = Spectrum.Zoom * shape.RoundedWidth();
  Spectrum.ViewHeight = Spectrum.Zoom * shape.RoundedHeight();
  TSpecData values;
  try {
    SaveSpectrumFiles(shape, SpecDrawArea, name);
    Quantize(shape, values);
  } catch (const std::bad_alloc&) {
    host_.Changed(kViewsChanged);
    AddLog("Error: not enough memory to show the spectrum of " + name + "\r\n");
    return;
  } catch (const std::exception& e) {
    host_.Changed(kSpectrumViewChanged);
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return;
  }
  host_.Changed(kSpectrumViewChanged);

  Spectrum.CoefList.clear();
  size_t zeros = 0;
  for (int32_t q : values) {
    if (q == 0)
      ++zeros;
    else
      Spectrum.CoefList.push_back(std::to_string(q));
  }
  Spectrum.ZeroLab = std::to_string(zeros);
  Spectrum.NonZeroLab = std::to_string(values.size() - zeros);
  const bool any = !values.empty();
  Spectrum.MinValLab = any ? std::to_string(*std::min_element(values.begin(), values.end())) : "";
  Spectrum.MaxValLab = any ? std::to_string(*std::max_element(values.begin(), values.end())) : "";
  host_.Changed(kInfoChanged);
  AddLog("Done.\r\n");
}

void TMainCore::ZoomSpinChange(int zoom) {
  Spectrum.Zoom = std::clamp(zoom, 1, 10);
  if (!SelectedShape) return;
  Spectrum.ViewWidth = Spectrum.Zoom * SelectedShape->RoundedWidth();
  Spectrum.ViewHeight = Spectrum.Zoom * SelectedShape->RoundedHeight();
  host_.Changed(kSpectrumViewChanged);
}

}  // namespace tvlc
