#include "appcore/Statistics.h"

#include <cmath>

#include "appcore/FloatText.h"
#include "base/NumberText.h"
#include "appcore/MainCore.h"
#include "study/PictureQuality.h"
#include "study/Ssim.h"

namespace tvlc {

std::optional<double> DecodedPicturePSNR(const TMainCore& core) {
  if (!core.PicData) return std::nullopt;
  return DecodedPSNR(*core.PicData, core.PicWidth, core.PicHeight, core.Reconst,
                     core.DecodedMask, core.MapWidth, core.MapHeight);
}

std::optional<double> DecodedPictureSSIM(const TMainCore& core) {
  if (!core.PicData || core.MapWidth < core.PicWidth || core.MapHeight < core.PicHeight)
    return std::nullopt;
  for (int y = 0; y < core.PicHeight; ++y)
    for (int x = 0; x < core.PicWidth; ++x)
      if (!core.DecodedMask.at(size_t(y) * core.MapWidth + x)) return std::nullopt;
  return StructuralSimilarity(*core.PicData,
                              DecodedGreyLevels(core.Reconst, core.PicWidth, core.PicHeight),
                              core.PicWidth, core.PicHeight);
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
  const std::optional<double> ssim = DecodedPictureSSIM(core);
  lines.push_back("Global SSIM: " +
                  (ssim ? FixedText(*ssim, 4) : std::string("Not available")));
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
