#include "model/formats/ImageFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

#include "base/ReplaceFile.h"
#include "model/Bmp.h"
#include "model/BmpHeader.h"
#include "model/formats/JpegFile.h"
#include "model/formats/NetpbmFile.h"
#include "model/formats/PngFile.h"
#include "model/formats/TiffFile.h"

namespace tvlc {

namespace {

constexpr size_t kSignatureBytes = 8;

bool Starts(const uint8_t* head, size_t count, std::initializer_list<uint8_t> signature) {
  return count >= signature.size() && std::equal(signature.begin(), signature.end(), head);
}

TImageFormat FormatOf(std::istream& in) {
  uint8_t head[kSignatureBytes] = {};
  const std::istream::pos_type start = in.tellg();
  in.read(reinterpret_cast<char*>(head), sizeof head);
  const size_t count = size_t(in.gcount());
  in.clear();
  in.seekg(start);
  return DetectImageFormat(head, count);
}

std::ifstream OpenForReading(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw TImageFileError("Cannot open file " + path);
  return file;
}

TDecodedImage ReadBmpImage(std::istream& in) {
  TDecodedImage d;
  d.Format = "BMP";
  d.Image = ReadBmp(in);
  d.Width = d.Image.Width();
  d.Height = d.Image.Height();
  return d;
}

TImageSize ProbeBmp(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  const TBmpHeader h = ReadBmpHeaders(in);
  in.seekg(start);
  return {"BMP", h.width, h.height};
}

[[noreturn]] void ThrowUnknown() {
  throw TImageFileError("Unknown file format (not BMP, PNG, JPEG, TIFF, PGM or PPM)");
}
TDecodedImage ReadUnknown(std::istream&) { ThrowUnknown(); }
TImageSize ProbeUnknown(std::istream&) { ThrowUnknown(); }

// The decoder and the header probe of each format.
struct TCodec {
  TDecodedImage (*read)(std::istream&);
  TImageSize (*probe)(std::istream&);
};

const TCodec& CodecOf(TImageFormat format) {
  static const TCodec unknown{ReadUnknown, ProbeUnknown}, bmp{ReadBmpImage, ProbeBmp},
      png{ReadPng, ProbePng}, jpeg{ReadJpeg, ProbeJpeg}, tiff{ReadTiff, ProbeTiff},
      netpbm{ReadNetpbm, ProbeNetpbm};
  switch (format) {
    case TImageFormat::Bmp:
      return bmp;
    case TImageFormat::Png:
      return png;
    case TImageFormat::Jpeg:
      return jpeg;
    case TImageFormat::Tiff:
      return tiff;
    case TImageFormat::Netpbm:
      return netpbm;
    case TImageFormat::Unknown:
      break;
  }
  return unknown;
}

}  // namespace

TImageFormat DetectImageFormat(const uint8_t* head, size_t count) {
  if (Starts(head, count, {'B', 'M'})) return TImageFormat::Bmp;
  if (Starts(head, count, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return TImageFormat::Png;
  if (Starts(head, count, {0xFF, 0xD8, 0xFF})) return TImageFormat::Jpeg;
  if (Starts(head, count, {'I', 'I', 42, 0}) || Starts(head, count, {'M', 'M', 0, 42}) ||
      Starts(head, count, {'I', 'I', 43, 0}) || Starts(head, count, {'M', 'M', 0, 43}))
    return TImageFormat::Tiff;
  if (count >= 2 && head[0] == 'P' && std::strchr("123456", head[1]) && head[1] != 0)
    return TImageFormat::Netpbm;
  return TImageFormat::Unknown;
}

TDecodedImage ReadImage(std::istream& in) { return CodecOf(FormatOf(in)).read(in); }

TDecodedImage ReadImageFile(const std::string& path) {
  std::ifstream file = OpenForReading(path);
  return ReadImage(file);
}

TImageSize ProbeImage(std::istream& in) { return CodecOf(FormatOf(in)).probe(in); }

TImageSize ProbeImageFile(const std::string& path) {
  std::ifstream file = OpenForReading(path);
  return ProbeImage(file);
}

bool WantsPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".png";
}

void WriteImage(std::ostream& out, const TImage& image, bool png) {
  if (png)
    WritePng(out, image);
  else
    WriteBmp(out, image);
}

void WriteImageFile(const std::string& path, const TImage& image) {
  if (!WantsPng(path)) {
    WriteBmpFile(path, image);
    return;
  }
  ReplaceFile(path, [&image](std::ostream& out) { WritePng(out, image); });
}

}  // namespace tvlc
