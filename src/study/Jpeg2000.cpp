// JPEG 2000 through libopenjp2, in memory.
#include <algorithm>
#include <chrono>
#include <cstring>

#include <openjpeg.h>

#include "study/StandardCodecs.h"

namespace tvlc {

namespace {

using TClock = std::chrono::steady_clock;

// A codestream in memory, written or read through the library's stream.
struct TMemoryStream {
  std::vector<uint8_t> Bytes;
  size_t At = 0;
};

OPJ_SIZE_T WriteBytes(void* buffer, OPJ_SIZE_T count, void* user) {
  auto* s = static_cast<TMemoryStream*>(user);
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (s->At + count > s->Bytes.size()) s->Bytes.resize(s->At + count);
  std::memcpy(s->Bytes.data() + s->At, bytes, count);
  s->At += count;
  return count;
}

OPJ_SIZE_T ReadBytes(void* buffer, OPJ_SIZE_T count, void* user) {
  auto* s = static_cast<TMemoryStream*>(user);
  if (s->At >= s->Bytes.size()) return OPJ_SIZE_T(-1);
  const size_t n = std::min<size_t>(count, s->Bytes.size() - s->At);
  std::memcpy(buffer, s->Bytes.data() + s->At, n);
  s->At += n;
  return n;
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user) {
  auto* s = static_cast<TMemoryStream*>(user);
  const OPJ_OFF_T target = std::clamp<OPJ_OFF_T>(OPJ_OFF_T(s->At) + count, 0, OPJ_OFF_T(s->Bytes.size()));
  const OPJ_OFF_T moved = target - OPJ_OFF_T(s->At);
  s->At = size_t(target);
  return moved;
}

OPJ_BOOL SeekBytes(OPJ_OFF_T offset, void* user) {
  auto* s = static_cast<TMemoryStream*>(user);
  if (offset < 0 || size_t(offset) > s->Bytes.size()) return OPJ_FALSE;
  s->At = size_t(offset);
  return OPJ_TRUE;
}

opj_stream_t* MemoryStream(TMemoryStream& memory, bool input) {
  opj_stream_t* stream = opj_stream_create(1 << 16, input ? OPJ_TRUE : OPJ_FALSE);
  if (!stream) return nullptr;
  opj_stream_set_user_data(stream, &memory, nullptr);
  opj_stream_set_user_data_length(stream, memory.Bytes.size());
  opj_stream_set_read_function(stream, ReadBytes);
  opj_stream_set_write_function(stream, WriteBytes);
  opj_stream_set_skip_function(stream, SkipBytes);
  opj_stream_set_seek_function(stream, SeekBytes);
  return stream;
}

// The library's messages would go nowhere useful; failures are reported by
// the result of each call.
void Quiet(const char*, void*) {}

void Silence(opj_codec_t* codec) {
  opj_set_info_handler(codec, Quiet, nullptr);
  opj_set_warning_handler(codec, Quiet, nullptr);
  opj_set_error_handler(codec, Quiet, nullptr);
}

bool Encode(const std::vector<uint8_t>& grey, int width, int height, uint64_t bytes,
            std::vector<uint8_t>& out) {
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.irreversible = 1;
  parameters.tcp_numlayers = 1;
  parameters.cp_disto_alloc = 1;
  parameters.tcp_rates[0] = float(double(width) * height / double(std::max<uint64_t>(bytes, 1)));
  // The rate allocation aims at the size; the limit keeps the headers within it too.
  parameters.max_cs_size = int(std::min<uint64_t>(bytes, INT32_MAX));
  // Every resolution level needs at least one sample across.
  while (parameters.numresolution > 1 &&
         (1 << (parameters.numresolution - 1)) > std::min(width, height))
    --parameters.numresolution;

  opj_image_cmptparm_t component{};
  component.dx = component.dy = 1;
  component.w = OPJ_UINT32(width);
  component.h = OPJ_UINT32(height);
  component.prec = 8;
  component.sgnd = 0;
  opj_image_t* image = opj_image_create(1, &component, OPJ_CLRSPC_GRAY);
  if (!image) return false;
  image->x1 = OPJ_UINT32(width);
  image->y1 = OPJ_UINT32(height);
  std::copy(grey.begin(), grey.begin() + std::ptrdiff_t(size_t(width) * height), image->comps[0].data);

  TMemoryStream memory;
  opj_codec_t* codec = opj_create_compress(OPJ_CODEC_J2K);
  opj_stream_t* stream = MemoryStream(memory, false);
  Silence(codec);
  const bool ok = stream && opj_setup_encoder(codec, &parameters, image) &&
                  opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
                  opj_end_compress(codec, stream);
  if (stream) opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(image);
  if (ok) out = std::move(memory.Bytes);
  return ok;
}

bool Decode(const std::vector<uint8_t>& bytes, int width, int height, std::vector<uint8_t>& grey) {
  TMemoryStream memory{bytes, 0};
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  opj_codec_t* codec = opj_create_decompress(OPJ_CODEC_J2K);
  opj_stream_t* stream = MemoryStream(memory, true);
  Silence(codec);
  opj_image_t* image = nullptr;
  bool ok = stream && opj_setup_decoder(codec, &parameters) &&
            opj_read_header(stream, codec, &image) && opj_decode(codec, stream, image) &&
            opj_end_decompress(codec, stream);
  ok = ok && image->numcomps == 1 && int(image->comps[0].w) == width &&
       int(image->comps[0].h) == height;
  if (ok) {
    grey.resize(size_t(width) * height);
    for (size_t i = 0; i < grey.size(); ++i)
      grey[i] = uint8_t(std::clamp(image->comps[0].data[i], 0, 255));
  }
  if (image) opj_image_destroy(image);
  if (stream) opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  return ok;
}

}  // namespace

TCodedPicture CodeJpeg2000(const std::vector<uint8_t>& grey, int width, int height,
                           uint64_t bytes) {
  TCodedPicture coded;
  const TClock::time_point start = TClock::now();
  // The library's size limits leave out a few bytes of markers; aiming
  // lower by what went over (more at every attempt) brings the codestream
  // within the size.
  uint64_t aim = bytes;
  for (uint64_t attempt = 1; attempt <= 8; ++attempt) {
    if (!Encode(grey, width, height, aim, coded.Bytes)) {
      coded.Error = "JPEG 2000 coding failed";
      return coded;
    }
    if (coded.Bytes.size() <= bytes) break;
    const uint64_t excess = (coded.Bytes.size() - bytes) * attempt;
    if (aim <= excess) break;
    aim -= excess;
  }
  const TClock::time_point middle = TClock::now();
  if (!Decode(coded.Bytes, width, height, coded.Decoded)) {
    coded.Bytes.clear();
    coded.Error = "JPEG 2000 codestream does not decode";
    return coded;
  }
  coded.EncodeSeconds = std::chrono::duration<double>(middle - start).count();
  coded.DecodeSeconds = std::chrono::duration<double>(TClock::now() - middle).count();
  return coded;
}

}  // namespace tvlc
