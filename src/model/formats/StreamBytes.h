// Stream helpers the picture file decoders share.
#pragma once

#include <cstdint>
#include <istream>
#include <streambuf>
#include <vector>

namespace tvlc {

// Bytes left between the stream's position and its end; the position is
// kept. Lets a decoder refuse a size its file cannot back before allocating.
uint64_t RemainingBytes(std::istream& in);

// The rest of the stream, read in one piece (its length is known first).
std::vector<uint8_t> ReadRest(std::istream& in);

// A read-only, seekable stream over bytes held elsewhere.
class TMemoryStream : public std::istream {
 public:
  TMemoryStream(const uint8_t* data, size_t size);

 private:
  class TBuffer : public std::streambuf {
   public:
    TBuffer(const uint8_t* data, size_t size);

   protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
  };
  TBuffer buffer_;
};

}  // namespace tvlc
