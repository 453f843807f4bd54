#include "model/formats/TiffFile.h"

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>

#include "model/formats/ExifOrientation.h"
#include "model/formats/StreamBytes.h"

namespace tvlc {

namespace {

// No single allocation of the library (strip buffers, tag arrays) beyond this.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(256) << 20;

// The stream libtiff reads through, the first error it reported, and the
// first tag it passed over because the file ended (or failed) under it.
struct TTiffSource {
  std::istream* in;
  std::istream::pos_type start;
  uint64_t size;
  std::string error;
  std::string lostTag;
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t count) {
  auto* s = static_cast<TTiffSource*>(handle);
  s->in->read(static_cast<char*>(buffer), std::streamsize(count));
  const tmsize_t got = tmsize_t(s->in->gcount());
  s->in->clear();
  return got;
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto* s = static_cast<TTiffSource*>(handle);
  const uint64_t here = uint64_t(s->in->tellg() - s->start);
  const uint64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? here : s->size;
  const uint64_t target = base + offset;
  if (target > s->size) return toff_t(-1);
  s->in->clear();
  s->in->seekg(s->start + std::streamoff(target));
  return *s->in ? target : toff_t(-1);
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<TTiffSource*>(handle)->size; }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

std::string MessageText(const char* module, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  return std::string(module ? module : "TIFF") + ": " + text;
}

int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* s = static_cast<TTiffSource*>(user);
  if (s->error.empty()) s->error = MessageText(module, format, args);
  return 1;  // handled: nothing goes to stderr
}

// Warnings are about tags the library could do without; only the ones that
// say the file ended under a tag matter: such a file is cut short.
int OnWarning(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* s = static_cast<TTiffSource*>(user);
  const std::string text = MessageText(module, format, args);
  if (s->lostTag.empty() && text.find("IO error") != std::string::npos) s->lostTag = text;
  return 1;
}

struct TTiffCloser {
  void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TTiffHandle = std::unique_ptr<TIFF, TTiffCloser>;

TTiffHandle OpenTiff(TTiffSource& source) {
  std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(),
                                                                       TIFFOpenOptionsFree);
  if (!options) throw TImageFileError("Not enough memory for the TIFF library");
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxTiffAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, &source);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, &source);
  TTiffHandle tif(TIFFClientOpenExt("TIFF", "rm", &source, ReadProc, WriteProc, SeekProc, CloseProc,
                                    SizeProc, MapProc, UnmapProc, options.get()));
  if (!tif)
    throw TImageFileError(source.error.empty() ? "Not a readable TIFF file"
                                               : "TIFF " + source.error);
  if (!source.lostTag.empty())
    throw TImageFileError("TIFF file is truncated (" + source.lostTag + ")");
  return tif;
}

template <typename T>
T FieldOr(TIFF* tif, ttag_t tag, T fallback) {
  T value = fallback;
  return TIFFGetFieldDefaulted(tif, tag, &value) == 1 ? value : fallback;
}

// How far the library's decoder of a compression can expand the stored bytes
// at most (0: no bound known).
uint64_t MaxExpansion(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE:
      return 1;
    case COMPRESSION_PACKBITS:
      return 64;  // two bytes repeat one up to 128 times
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
      return 1032;
    case COMPRESSION_LZW:
      return 3641;  // a code of at least 9 bits stands for at most 4096 bytes
    default:
      return 0;
  }
}

// Refuses strips (or tiles) beyond the end of the file, and strips too
// short to hold the image, before the image memory is allocated.
void CheckStrips(TIFF* tif, const TTiffSource& source, uint64_t lineBytes, uint32_t height,
                 uint16_t compression) {
  const bool tiled = TIFFIsTiled(tif);
  const uint32_t strips = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  const uint64_t imageBytes =
      tiled ? uint64_t(strips) * uint64_t(TIFFTileSize64(tif)) : lineBytes * height;
  uint64_t stored = 0;
  for (uint32_t i = 0; i < strips; ++i) {
    const uint64_t offset = TIFFGetStrileOffset(tif, i);
    const uint64_t count = TIFFGetStrileByteCount(tif, i);
    if (offset > source.size || count > source.size - offset)
      throw TImageFileError("TIFF strip lies beyond the end of the file");
    stored += count;
  }
  const uint64_t expansion = MaxExpansion(compression);
  if (expansion && imageBytes > stored * expansion + expansion)
    throw TImageFileError("TIFF image data is too short for its dimensions");
}

struct TTiffLayout {
  uint16_t bits, samples, photometric, compression;
  int channels;  // 1 grey or palette, 3 colour; samples beyond are extra
};

TTiffLayout LayoutOf(TIFF* tif) {
  TTiffLayout l{};
  l.bits = FieldOr<uint16_t>(tif, TIFFTAG_BITSPERSAMPLE, 1);
  l.samples = FieldOr<uint16_t>(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  l.compression = FieldOr<uint16_t>(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  uint16_t photometric = 0;
  if (TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) != 1)
    throw TImageFileError("TIFF file does not say how its samples are coloured");
  l.photometric = photometric;
  if (FieldOr<uint16_t>(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT) != SAMPLEFORMAT_UINT)
    throw TImageFileError("TIFF samples are not unsigned integers");
  if (FieldOr<uint16_t>(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) != PLANARCONFIG_CONTIG &&
      l.samples > 1)
    throw TImageFileError("TIFF files with separate colour planes are not supported");
  const bool grey =
      l.photometric == PHOTOMETRIC_MINISBLACK || l.photometric == PHOTOMETRIC_MINISWHITE;
  if (grey && (l.bits == 8 || l.bits == 16))
    l.channels = 1;
  else if (l.photometric == PHOTOMETRIC_RGB && (l.bits == 8 || l.bits == 16))
    l.channels = 3;
  else if (l.photometric == PHOTOMETRIC_PALETTE && l.bits == 8)
    l.channels = 1;
  else
    throw TImageFileError("TIFF of " + std::to_string(l.bits) + "-bit samples in photometric " +
                          std::to_string(l.photometric) + " not supported");
  if (l.samples < l.channels) throw TImageFileError("TIFF has too few samples per pixel");
  if (!TIFFIsCODECConfigured(l.compression))
    throw TImageFileError("TIFF compression " + std::to_string(l.compression) + " not supported");
  return l;
}

std::vector<TColor> PaletteOf(TIFF* tif) {
  uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) != 1)
    throw TImageFileError("TIFF palette image without a colour map");
  std::vector<TColor> palette(256);
  for (size_t i = 0; i < palette.size(); ++i)
    palette[i] = RGB(ScaleTo8(red[i], 65535), ScaleTo8(green[i], 65535), ScaleTo8(blue[i], 65535));
  return palette;
}

[[noreturn]] void ThrowUnreadable(const TTiffSource& source) {
  throw TImageFileError("TIFF " +
                        (source.error.empty() ? "image data cannot be read" : source.error));
}

// Hands every row of the image, its samples contiguous, to `take`: the
// scanlines of a file in strips, or bands a tile high cut from its tiles.
template <typename Take>
void ReadRows(TIFF* tif, const TTiffSource& source, uint32_t width, uint32_t height,
              uint64_t lineBytes, size_t pixelBytes, Take take) {
  std::vector<uint8_t> line(lineBytes);
  if (!TIFFIsTiled(tif)) {
    for (uint32_t y = 0; y < height; ++y) {
      if (TIFFReadScanline(tif, line.data(), y, 0) != 1) ThrowUnreadable(source);
      take(y, line.data());
    }
    return;
  }
  const uint32_t tileWidth = FieldOr<uint32_t>(tif, TIFFTAG_TILEWIDTH, 0);
  const uint32_t tileHeight = FieldOr<uint32_t>(tif, TIFFTAG_TILELENGTH, 0);
  const uint64_t tileRowBytes = uint64_t(TIFFTileRowSize64(tif));
  const uint64_t tileBytes = uint64_t(TIFFTileSize64(tif));
  if (tileWidth == 0 || tileHeight == 0 || tileRowBytes < tileWidth * pixelBytes ||
      tileBytes < tileRowBytes * tileHeight || tileBytes > uint64_t(kMaxTiffAllocation))
    throw TImageFileError("TIFF tile size out of range");
  std::vector<uint8_t> tile(tileBytes);
  std::vector<uint8_t> band(lineBytes * std::min(tileHeight, height));
  for (uint32_t top = 0; top < height; top += tileHeight) {
    const uint32_t rows = std::min(tileHeight, height - top);
    for (uint32_t left = 0; left < width; left += tileWidth) {
      if (TIFFReadTile(tif, tile.data(), left, top, 0, 0) < 0) ThrowUnreadable(source);
      const size_t bytes = std::min(tileWidth, width - left) * pixelBytes;
      for (uint32_t r = 0; r < rows; ++r)
        std::memcpy(band.data() + r * lineBytes + left * pixelBytes, tile.data() + r * tileRowBytes,
                    bytes);
    }
    for (uint32_t r = 0; r < rows; ++r) take(top + r, band.data() + r * lineBytes);
  }
}

}  // namespace

TDecodedImage ReadTiff(std::istream& in) {
  TTiffSource source{&in, in.tellg(), RemainingBytes(in), {}, {}};
  TTiffHandle handle = OpenTiff(source);
  TIFF* tif = handle.get();
  const uint32_t width = FieldOr<uint32_t>(tif, TIFFTAG_IMAGEWIDTH, 0);
  const uint32_t height = FieldOr<uint32_t>(tif, TIFFTAG_IMAGELENGTH, 0);
  CheckImageSize("TIFF", width, height);
  const TTiffLayout l = LayoutOf(tif);
  const uint64_t lineBytes = uint64_t(TIFFScanlineSize64(tif));
  if (lineBytes < uint64_t(width) * l.samples * (l.bits / 8))
    throw TImageFileError("TIFF scanline size does not match its samples");
  CheckStrips(tif, source, lineBytes, height, l.compression);

  TDecodedImage d;
  d.Format = "TIFF";
  d.Width = int(width);
  d.Height = int(height);
  d.Lossy = l.compression == COMPRESSION_JPEG || l.compression == COMPRESSION_OJPEG;
  const bool inverted = l.photometric == PHOTOMETRIC_MINISWHITE;
  const size_t values = size_t(width) * height * size_t(l.channels);
  std::vector<uint8_t> narrow(l.bits == 8 ? values : 0);
  if (l.bits == 16) {
    d.HasWide = true;
    d.Wide.Channels = l.channels;
    d.Wide.Values.resize(values);
  }
  // The channels of each pixel, extra samples left out, in the file's depth.
  auto takeRow = [&](uint32_t y, const uint8_t* line) {
    for (size_t x = 0; x < width; ++x)
      for (int c = 0; c < l.channels; ++c) {
        const size_t from = x * l.samples + size_t(c);
        const size_t to = (size_t(y) * width + x) * size_t(l.channels) + size_t(c);
        if (l.bits == 8) {
          narrow[to] = inverted ? uint8_t(255 - line[from]) : line[from];
        } else {
          uint16_t v;
          std::memcpy(&v, line + 2 * from, 2);
          d.Wide.Values[to] = inverted ? uint16_t(65535 - v) : v;
        }
      }
  };
  ReadRows(tif, source, width, height, lineBytes, size_t(l.samples) * (l.bits / 8), takeRow);
  if (l.bits == 8) {
    if (l.photometric == PHOTOMETRIC_PALETTE) {
      d.Image = TImage(d.Width, d.Height, PaletteOf(tif), std::move(narrow));
    } else if (l.channels == 1) {
      d.Image = GreyImage(d.Width, d.Height, std::move(narrow));
    } else {
      d.Image = RgbImage(d.Width, d.Height, narrow.data());
    }
  }
  if (l.samples > l.channels) d.Ignored.push_back("alpha channel ignored");
  const std::string note = OrientationNote("TIFF", FieldOr<uint16_t>(tif, TIFFTAG_ORIENTATION, 1));
  if (!note.empty()) d.Ignored.push_back(note);
  return d;
}

TImageSize ProbeTiff(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  TTiffSource source{&in, start, RemainingBytes(in), {}, {}};
  TImageSize size{"TIFF", 0, 0};
  {
    TTiffHandle tif = OpenTiff(source);
    size.Width =
        int(std::min<uint32_t>(FieldOr<uint32_t>(tif.get(), TIFFTAG_IMAGEWIDTH, 0), INT32_MAX));
    size.Height =
        int(std::min<uint32_t>(FieldOr<uint32_t>(tif.get(), TIFFTAG_IMAGELENGTH, 0), INT32_MAX));
  }
  in.clear();
  in.seekg(start);
  return size;
}

}  // namespace tvlc
