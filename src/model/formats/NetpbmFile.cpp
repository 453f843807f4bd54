#include "model/formats/NetpbmFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <istream>

#include "model/formats/StreamBytes.h"

namespace tvlc {

namespace {

struct TNetpbmHeader {
  char kind = 0;  // '2', '3', '5' or '6'
  uint32_t width = 0, height = 0, maxValue = 0;
  int Channels() const { return kind == '3' || kind == '6' ? 3 : 1; }
  bool Plain() const { return kind == '2' || kind == '3'; }
};

// The next number of the header, passing over blanks and comments.
uint32_t HeaderNumber(std::istream& in, const char* what) {
  int c = in.get();
  while (std::isspace(c) || c == '#') {
    if (c == '#')
      while (c != '\n' && c != '\r' && c != std::char_traits<char>::eof()) c = in.get();
    c = in.get();
  }
  if (!std::isdigit(c)) throw TImageFileError(std::string("Netpbm header lacks its ") + what);
  uint64_t value = 0;
  for (; std::isdigit(c); c = in.get()) {
    value = value * 10 + uint64_t(c - '0');
    if (value > 0xFFFFFFFF) throw TImageFileError(std::string("Netpbm ") + what + " out of range");
  }
  // One blank ends the header; binary samples follow right after it.
  if (c != std::char_traits<char>::eof() && !std::isspace(c))
    throw TImageFileError(std::string("Netpbm ") + what + " is not a number");
  return uint32_t(value);
}

TNetpbmHeader ReadHeader(std::istream& in) {
  TNetpbmHeader h;
  const int p = in.get(), kind = in.get();
  if (p != 'P' || (kind != '2' && kind != '3' && kind != '5' && kind != '6'))
    throw TImageFileError("Not a netpbm grey map or pixmap (P2, P3, P5, P6)");
  h.kind = char(kind);
  h.width = HeaderNumber(in, "width");
  h.height = HeaderNumber(in, "height");
  h.maxValue = HeaderNumber(in, "maximum value");
  if (h.maxValue < 1 || h.maxValue > 65535)
    throw TImageFileError("Netpbm maximum value " + std::to_string(h.maxValue) +
                          " out of range (1 to 65535)");
  return h;
}

// Plain text samples: decimal numbers separated by blanks (and comments,
// which some writers put there).
std::vector<uint16_t> PlainSamples(std::istream& in, uint64_t count, uint32_t maxValue) {
  // Every sample but the last takes a digit and a blank at least.
  if (2 * count - 1 > RemainingBytes(in)) throw TImageFileError("Netpbm file is truncated");
  const std::vector<uint8_t> text = ReadRest(in);
  std::vector<uint16_t> samples(count);
  size_t at = 0;
  for (uint64_t i = 0; i < count; ++i) {
    while (at < text.size() && (std::isspace(text[at]) || text[at] == '#')) {
      if (text[at] == '#')
        while (at < text.size() && text[at] != '\n' && text[at] != '\r') ++at;
      else
        ++at;
    }
    if (at == text.size()) throw TImageFileError("Netpbm file is truncated");
    if (!std::isdigit(text[at])) throw TImageFileError("Netpbm sample is not a number");
    uint32_t value = 0;
    for (; at < text.size() && std::isdigit(text[at]); ++at) {
      value = value * 10 + uint32_t(text[at] - '0');
      if (value > maxValue) throw TImageFileError("Netpbm sample above the maximum value");
    }
    samples[i] = uint16_t(value);
  }
  return samples;
}

// Binary samples: one byte each up to a maximum of 255, two (most
// significant first) above.
std::vector<uint16_t> RawSamples(std::istream& in, uint64_t count, uint32_t maxValue) {
  const uint64_t bytesPer = maxValue > 255 ? 2 : 1;
  if (count * bytesPer > RemainingBytes(in)) throw TImageFileError("Netpbm file is truncated");
  std::vector<uint8_t> bytes(count * bytesPer);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (uint64_t(in.gcount()) != bytes.size()) throw TImageFileError("Netpbm file is truncated");
  std::vector<uint16_t> samples(count);
  for (uint64_t i = 0; i < count; ++i) {
    samples[i] = bytesPer == 2 ? uint16_t(bytes[2 * i] << 8 | bytes[2 * i + 1]) : bytes[i];
    if (samples[i] > maxValue) throw TImageFileError("Netpbm sample above the maximum value");
  }
  return samples;
}

}  // namespace

TDecodedImage ReadNetpbm(std::istream& in) {
  const TNetpbmHeader h = ReadHeader(in);
  CheckImageSize("Netpbm", h.width, h.height);
  const uint64_t count = uint64_t(h.width) * h.height * uint64_t(h.Channels());
  std::vector<uint16_t> samples =
      h.Plain() ? PlainSamples(in, count, h.maxValue) : RawSamples(in, count, h.maxValue);
  TDecodedImage d;
  d.Format = "Netpbm";
  d.Width = int(h.width);
  d.Height = int(h.height);
  if (h.maxValue != 255) {
    d.HasWide = true;
    d.Wide = {h.Channels(), h.maxValue, std::move(samples)};
  } else {
    std::vector<uint8_t> levels(samples.begin(), samples.end());
    d.Image = h.Channels() == 1 ? GreyImage(d.Width, d.Height, std::move(levels))
                                : RgbImage(d.Width, d.Height, levels.data());
  }
  return d;
}

TImageSize ProbeNetpbm(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  const TNetpbmHeader h = ReadHeader(in);
  in.clear();
  in.seekg(start);
  return {"Netpbm", int(std::min<uint32_t>(h.width, INT32_MAX)),
          int(std::min<uint32_t>(h.height, INT32_MAX))};
}

}  // namespace tvlc
