// One point of a rate-distortion study: a codec at one setting on one
// picture, with what it costs and what it delivers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tvlc {

struct TRdRow {
  std::string Codec;  // "tvlc", "jpeg" or "jpeg2000"
  std::string Map;    // "rect WxH", "segment ..." or the map file's name; empty for others
  std::optional<double> RequestedPsnr;
  std::optional<int> Quality;
  std::optional<int> Norm;
  uint64_t TextureBytes = 0;  // the coded picture
  uint64_t MapBytes = 0;      // the coded map (0 for generated rectangles)
  double Bpp = 0.0;           // (texture + map) bits per picture pixel
  std::optional<double> Psnr; // none: the decoded picture equals the original
  std::optional<double> Ssim;
  double EncodeSeconds = 0.0;
  double DecodeSeconds = 0.0;
  // Region-coding rows only: on the best-PSNR-for-rate envelope of all
  // settings, counting total bits and texture bits alone.
  std::optional<bool> Envelope;
  std::optional<bool> EnvelopeTexture;

  double TextureBpp(double pixels) const { return double(TextureBytes) * 8.0 / pixels; }
};

// Marks Envelope and EnvelopeTexture of the "tvlc" rows: a row is on an
// envelope when no other row has at most its bits and a higher PSNR (a
// missing PSNR, a lossless picture, counts as the highest).
void MarkEnvelopes(std::vector<TRdRow>& rows, double pixels);

}  // namespace tvlc
