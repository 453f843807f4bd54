// The codecs a researcher would otherwise use, on the same grey picture and
// in memory: baseline JPEG with optimised Huffman tables (libjpeg) and
// JPEG 2000 with the irreversible 9/7 wavelet in one quality layer
// (libopenjp2, the bare codestream).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tvlc {

struct TCodedPicture {
  std::vector<uint8_t> Bytes;    // the whole file (JPEG) or codestream (JPEG 2000)
  std::vector<uint8_t> Decoded;  // width * height grey levels
  double EncodeSeconds = 0.0;
  double DecodeSeconds = 0.0;
  std::string Error;             // set when coding failed; the rest is then empty
};

// JPEG at quality 1..100, grey, optimize_coding on, everything else the
// library's defaults.
TCodedPicture CodeJpeg(const std::vector<uint8_t>& grey, int width, int height, int quality);

// JPEG 2000 with the codestream aimed at `bytes` bytes: at most that many
// unless the picture cannot be coded in so few.
TCodedPicture CodeJpeg2000(const std::vector<uint8_t>& grey, int width, int height,
                           uint64_t bytes);

}  // namespace tvlc
