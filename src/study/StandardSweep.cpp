#include "study/StandardSweep.h"

#include <cmath>

#include "study/StandardCodecs.h"
#include "study/Ssim.h"

namespace tvlc {

namespace {

std::optional<double> Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  uint64_t sse = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int d = int(a[i]) - int(b[i]);
    sse += uint64_t(d * d);
  }
  if (sse == 0) return std::nullopt;
  return 10.0 * std::log10(double(a.size()) * 65025.0 / double(sse));
}

TRdRow Row(const char* codec, const TCodedPicture& coded, const std::vector<uint8_t>& grey,
           int width, int height) {
  TRdRow row;
  row.Codec = codec;
  row.TextureBytes = coded.Bytes.size();
  row.Bpp = double(row.TextureBytes) * 8.0 / (double(width) * height);
  row.Psnr = Psnr(grey, coded.Decoded);
  row.Ssim = StructuralSimilarity(grey, coded.Decoded, width, height);
  row.EncodeSeconds = coded.EncodeSeconds;
  row.DecodeSeconds = coded.DecodeSeconds;
  return row;
}

}  // namespace

std::vector<int> StandardJpegQualities() {
  std::vector<int> qualities;
  for (int q = 5; q <= 95; q += 5) qualities.push_back(q);
  return qualities;
}

std::vector<TRdRow> RunStandardSweep(const std::vector<uint8_t>& grey, int width, int height,
                                     std::string& error, const std::function<bool()>& stop) {
  std::vector<TRdRow> rows;
  std::vector<uint64_t> sizes;
  for (int quality : StandardJpegQualities()) {
    const TCodedPicture coded = CodeJpeg(grey, width, height, quality);
    if (!coded.Error.empty()) {
      error = "JPEG: " + coded.Error;
      return rows;
    }
    rows.push_back(Row("jpeg", coded, grey, width, height));
    rows.back().Quality = quality;
    sizes.push_back(coded.Bytes.size());
    if (stop && stop()) return rows;
  }
  for (uint64_t size : sizes) {
    const TCodedPicture coded = CodeJpeg2000(grey, width, height, size);
    if (!coded.Error.empty()) {
      error = coded.Error;
      return rows;
    }
    rows.push_back(Row("jpeg2000", coded, grey, width, height));
    if (stop && stop()) return rows;
  }
  return rows;
}

}  // namespace tvlc
