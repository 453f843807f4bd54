#include "model/formats/StreamBytes.h"

#include "model/formats/DecodedImage.h"

namespace tvlc {

uint64_t RemainingBytes(std::istream& in) {
  const std::istream::pos_type here = in.tellg();
  if (here < 0) throw TImageFileError("File cannot be read");
  in.seekg(0, std::ios::end);
  const std::istream::pos_type end = in.tellg();
  in.seekg(here);
  if (end < here || !in) throw TImageFileError("File cannot be read");
  return uint64_t(end - here);
}

std::vector<uint8_t> ReadRest(std::istream& in) {
  std::vector<uint8_t> bytes(RemainingBytes(in));
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (size_t(in.gcount()) != bytes.size()) throw TImageFileError("File cannot be read");
  return bytes;
}

TMemoryStream::TBuffer::TBuffer(const uint8_t* data, size_t size) {
  char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
  setg(begin, begin, begin + size);
}

std::streambuf::pos_type TMemoryStream::TBuffer::seekoff(off_type offset,
                                                         std::ios_base::seekdir dir,
                                                         std::ios_base::openmode which) {
  if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
  const off_type base = dir == std::ios_base::beg   ? 0
                        : dir == std::ios_base::cur ? gptr() - eback()
                                                    : egptr() - eback();
  const off_type target = base + offset;
  if (target < 0 || target > egptr() - eback()) return pos_type(off_type(-1));
  setg(eback(), eback() + target, egptr());
  return pos_type(target);
}

std::streambuf::pos_type TMemoryStream::TBuffer::seekpos(pos_type position,
                                                         std::ios_base::openmode which) {
  return seekoff(off_type(position), std::ios_base::beg, which);
}

TMemoryStream::TMemoryStream(const uint8_t* data, size_t size)
    : std::istream(nullptr), buffer_(data, size) {
  rdbuf(&buffer_);
}

}  // namespace tvlc
