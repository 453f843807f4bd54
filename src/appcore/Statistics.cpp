#include "appcore/Statistics.h"

#include <cmath>

#include "appcore/FloatText.h"
#include "appcore/MainCore.h"

namespace tvlc {

std::optional<double> DecodedPicturePSNR(const TMainCore& core) {
  if (!core.PicData) return std::nullopt;
  // The decoded mask covers the map, which may be smaller than the picture.
  const int width = std::min(core.PicWidth, core.MapWidth);
  const int height = std::min(core.PicHeight, core.MapHeight);
  uint64_t count = 0, sse = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t m = size_t(y) * core.MapWidth + x;
      if (m >= core.DecodedMask.size() || !core.DecodedMask[m]) continue;
      const int diff = int((*core.PicData)[size_t(y) * core.PicWidth + x]) -
                       int(RedOf(core.Reconst.Pixel(x, y)));
      ++count;
      sse += uint64_t(diff * diff);
    }
  if (sse == 0) return std::nullopt;
  return 10.0 * std::log10(double(count) * 65025.0 / double(sse));
}

std::vector<std::string> GlobalStatisticsLines(const TMainCore& core) {
  if (!core.PicData) return {};
  const int64_t pixels = int64_t(core.PicWidth) * core.PicHeight;
  std::vector<std::string> lines = {
      "Picture size: " + std::to_string(core.PicWidth) + "x" + std::to_string(core.PicHeight),
      "Pixels in picture: " + std::to_string(pixels)};
  if (core.Shapes.empty()) {
    lines.push_back("Shape windows, slack and PSNR average: no shapes (load a map first)");
  } else {
    int64_t windowSum = 0, processedSum = 0;
    double psnrSum = 0.0;
    for (const TShapeItem& item : core.Shapes) {
      const TShape& s = *item.Shape;
      windowSum += int64_t(s.BoxWidth()) * s.BoxHeight();
      processedSum += int64_t(s.RoundedWidth()) * s.RoundedHeight();
      psnrSum += s.PSNR;
    }
    auto slack = [pixels](int64_t sum) { return Fixed2(double((sum - pixels) * 100) / double(sum)); };
    lines.push_back("Pixels in shape windows: " + std::to_string(windowSum) + "\t (Slack: " +
                    slack(windowSum) + "%)");
    lines.push_back("Total pixels processed: " + std::to_string(processedSum) + "\t (Slack: " +
                    slack(processedSum) + "%)");
    lines.push_back("PSNR average [dB]: " + Fixed2(psnrSum / double(core.Shapes.size())));
  }
  const std::optional<double> global = DecodedPicturePSNR(core);
  lines.push_back("Global PSNR [dB]: " + (global ? Fixed2(*global) : std::string("Not available")));
  return lines;
}

std::vector<std::string> TMainCore::Globalstatistics1Click() {
  if (!PicData) {
    AddLog("Error: No picture data available\r\n");
    return {};
  }
  return GlobalStatisticsLines(*this);
}

}  // namespace tvlc
