#include "model/formats/PngFile.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "model/PictureArrays.h"
#include "model/formats/ExifOrientation.h"
#include "model/formats/StreamBytes.h"

namespace tvlc {

namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Ancillary chunks (text, colour profiles) may not unpack beyond this, and
// no more of them are kept than this.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxKeptChunks = 1000;
// Deflate turns one byte into at most 1032.
constexpr uint64_t kMaxInflation = 1032;

uint32_t BigU32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The chunks libpng reads into; errors end in a longjmp back to the
// function that called setjmp, so the message is kept in a plain array.
struct TPngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[256] = "";
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  bool hadAlpha = false, hadTransparency = false;
  std::vector<uint8_t> pixels;  // 8 bits a sample and less
  std::vector<uint16_t> wide;   // 16 bits a sample, in host order
  std::vector<png_bytep> rows;

  explicit TPngState(bool writing) : writing_(writing) {
    png = writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning)
                  : png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (png) info = png_create_info_struct(png);
    if (!png || !info) {
      Destroy();
      throw TImageFileError("Not enough memory for the PNG library");
    }
  }
  ~TPngState() { Destroy(); }
  TPngState(const TPngState&) = delete;
  TPngState& operator=(const TPngState&) = delete;

  static void OnError(png_structp png, png_const_charp text) {
    auto* state = static_cast<TPngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
  }
  // Warnings concern ancillary data (profiles, text) the program does not use.
  static void OnWarning(png_structp, png_const_charp) {}

 private:
  void Destroy() {
    if (writing_)
      png_destroy_write_struct(&png, &info);
    else
      png_destroy_read_struct(&png, &info, nullptr);
  }
  bool writing_;
};

void ReadFromStream(png_structp png, png_bytep data, size_t length) {
  auto* in = static_cast<std::istream*>(png_get_io_ptr(png));
  in->read(reinterpret_cast<char*>(data), std::streamsize(length));
  if (size_t(in->gcount()) != length) png_error(png, "PNG file is truncated");
}

void WriteToStream(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::ostream*>(png_get_io_ptr(png));
  out->write(reinterpret_cast<const char*>(data), std::streamsize(length));
  if (!*out) png_error(png, "cannot write the PNG data");
}

void FlushStream(png_structp png) { static_cast<std::ostream*>(png_get_io_ptr(png))->flush(); }

// Walks the chunks without decoding them: a file cut short is refused here,
// and so is a header whose image the compressed data could never fill, both
// before any pixel memory is spent.
void CheckChunks(std::istream& in, uint64_t fileBytes) {
  const std::istream::pos_type start = in.tellg();
  uint8_t head[8];
  uint64_t at = kSignature.size(), compressed = 0, rawBytes = 0;
  bool ended = false;
  while (!ended) {
    in.seekg(start + std::streamoff(at));
    if (at + 12 > fileBytes || !in.read(reinterpret_cast<char*>(head), 8))
      throw TImageFileError("PNG file is truncated");
    const uint64_t length = BigU32(head);
    if (length > 0x7FFFFFFF) throw TImageFileError("PNG chunk length out of range");
    if (at + 12 + length > fileBytes) throw TImageFileError("PNG file is truncated");
    if (std::memcmp(head + 4, "IHDR", 4) == 0 && length >= 13) {
      uint8_t ihdr[13];
      if (!in.read(reinterpret_cast<char*>(ihdr), 13))
        throw TImageFileError("PNG file is truncated");
      static constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
      const uint64_t bits = uint64_t(ihdr[8]) * (ihdr[9] < 7 ? std::max(kChannels[ihdr[9]], 1) : 1);
      rawBytes = uint64_t(BigU32(ihdr + 4)) * (1 + (BigU32(ihdr) * bits + 7) / 8);
    }
    if (std::memcmp(head + 4, "IDAT", 4) == 0) compressed += length;
    ended = std::memcmp(head + 4, "IEND", 4) == 0;
    at += 12 + length;
  }
  if (rawBytes > compressed * kMaxInflation + kMaxInflation)
    throw TImageFileError("PNG image data is too short for its dimensions");
  in.seekg(start);
}

// Everything between setjmp and the end runs on plain data of `s`: a
// longjmp out of libpng skips no destructor.
bool DecodePng(TPngState& s, std::istream& in) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_read_fn(s.png, &in, ReadFromStream);
  png_set_user_limits(s.png, png_uint_32(kMaxImageSide), png_uint_32(kMaxImageSide));
  png_set_chunk_malloc_max(s.png, kMaxChunkBytes);
  png_set_chunk_cache_max(s.png, kMaxKeptChunks);
  png_read_info(s.png, s.info);
  int interlace = 0;
  png_get_IHDR(s.png, s.info, &s.width, &s.height, &s.bitDepth, &s.colourType, &interlace, nullptr,
               nullptr);
  if (!ImageSizeSupported(s.width, s.height)) {
    std::snprintf(s.message, sizeof s.message, "PNG image size %u x %u not supported",
                  unsigned(s.width), unsigned(s.height));
    return false;
  }
  s.hadAlpha = (s.colourType & PNG_COLOR_MASK_ALPHA) != 0;
  s.hadTransparency = png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
  if (s.colourType == PNG_COLOR_TYPE_GRAY && s.bitDepth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
  if (s.colourType == PNG_COLOR_TYPE_PALETTE) png_set_packing(s.png);
  if (s.hadAlpha) png_set_strip_alpha(s.png);
  if (s.bitDepth == 16) png_set_swap(s.png);  // host order for uint16_t
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  const size_t rowBytes = png_get_rowbytes(s.png, s.info);
  uint8_t* first = nullptr;
  if (s.bitDepth == 16) {
    s.wide.resize(rowBytes / 2 * s.height);
    first = reinterpret_cast<uint8_t*>(s.wide.data());
  } else {
    s.pixels.resize(rowBytes * s.height);
    first = s.pixels.data();
  }
  s.rows.resize(s.height);
  for (png_uint_32 y = 0; y < s.height; ++y) s.rows[y] = first + rowBytes * y;
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, s.info);
  return true;
}

std::vector<TColor> PaletteOf(const TPngState& s) {
  png_colorp entries = nullptr;
  int count = 0;
  png_get_PLTE(s.png, s.info, &entries, &count);
  std::vector<TColor> palette;
  for (int i = 0; i < count; ++i)
    palette.push_back(RGB(entries[i].red, entries[i].green, entries[i].blue));
  // Indices past the table (which libpng lets through) read as black.
  palette.resize(256, kBlack);
  return palette;
}

TDecodedImage DecodedFrom(TPngState& s) {
  TDecodedImage d;
  d.Format = "PNG";
  d.Width = int(s.width);
  d.Height = int(s.height);
  const bool colour = (s.colourType & PNG_COLOR_MASK_COLOR) != 0;
  if (s.bitDepth == 16) {
    d.HasWide = true;
    d.Wide.Channels = colour ? 3 : 1;
    d.Wide.Values = std::move(s.wide);
  } else if (s.colourType == PNG_COLOR_TYPE_PALETTE) {
    d.Image = TImage(d.Width, d.Height, PaletteOf(s), std::move(s.pixels));
  } else if (colour) {
    d.Image = RgbImage(d.Width, d.Height, s.pixels.data());
  } else {
    d.Image = GreyImage(d.Width, d.Height, std::move(s.pixels));
  }
  if (s.hadAlpha) d.Ignored.push_back("alpha channel ignored");
  if (s.hadTransparency) d.Ignored.push_back("transparency ignored");
  png_uint_32 exifSize = 0;
  png_bytep exif = nullptr;
  if (png_get_eXIf_1(s.png, s.info, &exifSize, &exif) && exif) {
    const std::string note = OrientationNote("EXIF", ExifOrientation(exif, exifSize));
    if (!note.empty()) d.Ignored.push_back(note);
  }
  return d;
}

}  // namespace

TDecodedImage ReadPng(std::istream& in) {
  const uint64_t fileBytes = RemainingBytes(in);
  const TImageSize size = ProbePng(in);
  CheckImageSize("PNG", size.Width, size.Height);
  CheckChunks(in, fileBytes);
  TPngState state(false);
  if (!DecodePng(state, in)) throw TImageFileError(std::string("PNG: ") + state.message);
  return DecodedFrom(state);
}

TImageSize ProbePng(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  uint8_t head[24];
  if (!in.read(reinterpret_cast<char*>(head), sizeof head))
    throw TImageFileError("PNG file is truncated");
  in.seekg(start);
  if (std::memcmp(head, kSignature.data(), kSignature.size()) != 0)
    throw TImageFileError("Not a PNG file");
  if (std::memcmp(head + 12, "IHDR", 4) != 0 || BigU32(head + 8) != 13)
    throw TImageFileError("PNG file does not start with its header chunk");
  const uint32_t width = BigU32(head + 16), height = BigU32(head + 20);
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    throw TImageFileError("PNG image size out of range");
  return {"PNG", int(width), int(height)};
}

namespace {

bool EncodePng(TPngState& s, std::ostream& out, const TImage& image, bool grey) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &out, WriteToStream, FlushStream);
  png_set_IHDR(s.png, s.info, png_uint_32(image.Width()), png_uint_32(image.Height()), 8,
               grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  png_write_image(s.png, s.rows.data());
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

void WritePng(std::ostream& out, const TImage& image) {
  if (!ImageSizeSupported(image.Width(), image.Height()) || image.Empty())
    throw std::runtime_error("Image size not supported by PNG files (" +
                             std::to_string(image.Width()) + " x " +
                             std::to_string(image.Height()) + ")");
  TPngState state(true);
  const bool grey = IsGrey(image);
  const size_t channels = grey ? 1 : 3;
  const size_t rowBytes = channels * size_t(image.Width());
  state.pixels.resize(rowBytes * size_t(image.Height()));
  state.rows.resize(size_t(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* row = state.pixels.data() + rowBytes * size_t(y);
    state.rows[size_t(y)] = row;
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
      if (grey) {
        row[x] = RedOf(c);
      } else {
        row[3 * size_t(x)] = RedOf(c);
        row[3 * size_t(x) + 1] = GreenOf(c);
        row[3 * size_t(x) + 2] = BlueOf(c);
      }
    }
  }
  if (!EncodePng(state, out, image, grey))
    throw std::runtime_error(std::string("Cannot write PNG data: ") + state.message);
}

}  // namespace tvlc
