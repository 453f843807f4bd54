// JPEG through the libjpeg interface, in memory.
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "study/StandardCodecs.h"

namespace tvlc {

namespace {

using TClock = std::chrono::steady_clock;

// libjpeg reports errors through a handler that must not return.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

// Warnings (such as tables too coarse for baseline at low qualities, which
// the reference tools print too) are no failures; nothing is printed.
void OnJpegMessage(j_common_ptr) {}

void OnJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  info->err->format_message(info, error->Message);
  std::longjmp(error->Jump, 1);
}

bool Compress(const std::vector<uint8_t>& grey, int width, int height, int quality,
              std::vector<uint8_t>& out, std::string& message) {
  jpeg_compress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnJpegError;
  error.Manager.output_message = OnJpegMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(error.Jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    message = error.Message;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  // As cjpeg does: below quality 25 the tables need more than 8 bits.
  jpeg_set_quality(&info, quality, FALSE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&grey[size_t(info.next_scanline) * width]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  out.assign(buffer, buffer + size);
  std::free(buffer);
  return true;
}

bool Decompress(const std::vector<uint8_t>& bytes, int width, int height,
                std::vector<uint8_t>& grey, std::string& message) {
  jpeg_decompress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnJpegError;
  error.Manager.output_message = OnJpegMessage;
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    message = error.Message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_GRAYSCALE;
  jpeg_start_decompress(&info);
  if (int(info.output_width) != width || int(info.output_height) != height ||
      info.output_components != 1) {
    jpeg_destroy_decompress(&info);
    message = "decoded JPEG has another size";
    return false;
  }
  grey.assign(size_t(width) * height, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &grey[size_t(info.output_scanline) * width];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

TCodedPicture CodeJpeg(const std::vector<uint8_t>& grey, int width, int height, int quality) {
  TCodedPicture coded;
  const TClock::time_point start = TClock::now();
  if (!Compress(grey, width, height, quality, coded.Bytes, coded.Error)) return coded;
  const TClock::time_point middle = TClock::now();
  if (!Decompress(coded.Bytes, width, height, coded.Decoded, coded.Error)) {
    coded.Bytes.clear();
    return coded;
  }
  coded.EncodeSeconds = std::chrono::duration<double>(middle - start).count();
  coded.DecodeSeconds = std::chrono::duration<double>(TClock::now() - middle).count();
  return coded;
}

}  // namespace tvlc
