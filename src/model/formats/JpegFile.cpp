#include "model/formats/JpegFile.h"

#include <csetjmp>
#include <cstdio>
#include <istream>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "model/formats/ExifOrientation.h"
#include "model/formats/StreamBytes.h"

namespace tvlc {

namespace {

// More memory than the largest supported progressive colour picture needs
// for its coefficients, far less than a lying header could ask for.
constexpr long kMaxJpegMemory = 1L << 30;
// A progressive file may hold any number of scans, each a pass over the
// whole picture; real encoders write about ten.
constexpr int kMaxScans = 500;
constexpr char kExifSignature[] = "Exif\0\0";  // 6 bytes with the final NUL

// libjpeg's structures and our own error state. Errors and warnings end in
// a longjmp to the decode function, so the message is kept in a plain array.
struct TJpegState {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX + 64] = "";
  bool created = false;
  int orientation = 0;
  std::vector<uint8_t> pixels;

  TJpegState() = default;
  ~TJpegState() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  TJpegState(const TJpegState&) = delete;
  TJpegState& operator=(const TJpegState&) = delete;
};

TJpegState& StateOf(j_common_ptr cinfo) { return *static_cast<TJpegState*>(cinfo->client_data); }

[[noreturn]] void OnError(j_common_ptr cinfo) {
  TJpegState& s = StateOf(cinfo);
  cinfo->err->format_message(cinfo, s.message);
  std::longjmp(s.jump, 1);
}

// A warning means corrupt or missing data (a cut file is padded with grey
// by the library); the program refuses such a picture instead of coding it.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0) OnError(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number <= kMaxScans) return;
  TJpegState& s = StateOf(cinfo);
  std::snprintf(s.message, sizeof s.message, "JPEG file has more than %d scans", kMaxScans);
  std::longjmp(s.jump, 1);
}

int OrientationOf(j_decompress_ptr cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
        std::equal(kExifSignature, kExifSignature + 6, m->data))
      return ExifOrientation(m->data + 6, m->data_length - 6);
  return 0;
}

// Everything between setjmp and the end runs on plain data of `s`: a
// longjmp out of libjpeg skips no destructor.
bool DecodeJpeg(TJpegState& s, const uint8_t* data, size_t size) {
  s.cinfo.err = jpeg_std_error(&s.errors);
  s.errors.error_exit = OnError;
  s.errors.emit_message = OnMessage;
  s.cinfo.client_data = &s;
  if (setjmp(s.jump)) return false;
  jpeg_create_decompress(&s.cinfo);
  s.created = true;
  s.cinfo.mem->max_memory_to_use = kMaxJpegMemory;
  s.progress.progress_monitor = OnProgress;
  s.cinfo.progress = &s.progress;
  jpeg_save_markers(&s.cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&s.cinfo, TRUE);
  if (!ImageSizeSupported(s.cinfo.image_width, s.cinfo.image_height)) {
    std::snprintf(s.message, sizeof s.message, "JPEG image size %u x %u not supported",
                  unsigned(s.cinfo.image_width), unsigned(s.cinfo.image_height));
    return false;
  }
  if (s.cinfo.jpeg_color_space == JCS_GRAYSCALE) {
    s.cinfo.out_color_space = JCS_GRAYSCALE;
  } else if (s.cinfo.jpeg_color_space == JCS_YCbCr || s.cinfo.jpeg_color_space == JCS_RGB) {
    s.cinfo.out_color_space = JCS_RGB;
  } else {
    std::snprintf(s.message, sizeof s.message, "JPEG colour space %d (CMYK) not supported",
                  int(s.cinfo.jpeg_color_space));
    return false;
  }
  s.orientation = OrientationOf(&s.cinfo);
  jpeg_start_decompress(&s.cinfo);
  const size_t stride = size_t(s.cinfo.output_width) * size_t(s.cinfo.output_components);
  // The picture grows row by row, so data that ends early (a warning, and
  // so a refusal) has not made it allocate the whole size its header states.
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    s.pixels.resize(s.pixels.size() + stride);
    JSAMPROW row = s.pixels.data() + s.pixels.size() - stride;
    jpeg_read_scanlines(&s.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&s.cinfo);
  return true;
}

struct TJpegFrame {
  int marker = 0;  // start of frame: 0xC0 baseline, 0xC2 progressive, ...
  int width = 0, height = 0;
};

// The frame header, found by passing over the segments before it; the
// stream is left where it was.
TJpegFrame FindFrame(std::istream& in) {
  const std::istream::pos_type start = in.tellg();
  auto byte = [&in]() -> int {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) throw TImageFileError("JPEG file is truncated");
    return c;
  };
  auto u16 = [&byte]() {
    const int high = byte();
    return high << 8 | byte();
  };
  if (byte() != 0xFF || byte() != 0xD8) throw TImageFileError("Not a JPEG file");
  for (;;) {
    if (byte() != 0xFF) throw TImageFileError("JPEG marker expected");
    int marker = byte();
    while (marker == 0xFF) marker = byte();  // fill bytes
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
      throw TImageFileError("JPEG file has no frame header");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    const int length = u16();
    if (length < 2) throw TImageFileError("JPEG segment length out of range");
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      byte();  // sample precision
      const int height = u16();
      const int width = u16();
      in.seekg(start);
      return {marker, width, height};
    }
    in.seekg(length - 2, std::ios::cur);
    if (!in) throw TImageFileError("JPEG file is truncated");
  }
}

}  // namespace

TDecodedImage ReadJpeg(std::istream& in) {
  const TJpegFrame frame = FindFrame(in);
  CheckImageSize("JPEG", frame.width, frame.height);
  const std::vector<uint8_t> bytes = ReadRest(in);
  // Huffman coding spends a bit at least on every block of every component,
  // and no component has fewer blocks than one per 32 x 32 pixels.
  const bool huffman = frame.marker <= 0xC3 || (frame.marker >= 0xC5 && frame.marker <= 0xC7);
  const uint64_t fewestBlocks =
      uint64_t(frame.width + 31) / 32 * (uint64_t(frame.height + 31) / 32);
  if (huffman && fewestBlocks > 8 * uint64_t(bytes.size()))
    throw TImageFileError("JPEG data is too short for its dimensions");
  TJpegState s;
  if (!DecodeJpeg(s, bytes.data(), bytes.size()))
    throw TImageFileError(std::string("JPEG: ") + s.message);
  TDecodedImage d;
  d.Format = "JPEG";
  d.Width = int(s.cinfo.output_width);
  d.Height = int(s.cinfo.output_height);
  d.Lossy = true;
  if (s.cinfo.output_components == 1) {
    d.Image = GreyImage(d.Width, d.Height, std::move(s.pixels));
  } else {
    d.Image = RgbImage(d.Width, d.Height, s.pixels.data());
  }
  const std::string note = OrientationNote("EXIF", s.orientation);
  if (!note.empty()) d.Ignored.push_back(note);
  return d;
}

TImageSize ProbeJpeg(std::istream& in) {
  const TJpegFrame frame = FindFrame(in);
  return {"JPEG", frame.width, frame.height};
}

}  // namespace tvlc
