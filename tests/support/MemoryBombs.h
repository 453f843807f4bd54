// Small files that declare or unpack to far more data than they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/ArithCoder.h"
#include "files/SymbolTableIO.h"

namespace tvlc::testing {

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// A run-length (RLE8) bitmap of width x height pixels with a grey colour
// table of two entries whose codes are `codes`; by default a lone
// end-of-bitmap code, which leaves every pixel at index 0. 62 bytes.
inline std::vector<uint8_t> RleBitmap(int32_t width, int32_t height,
                                      const std::vector<uint8_t>& codes = {0, 1}) {
  constexpr uint32_t kHeaders = 14 + 40 + 2 * 4;
  std::vector<uint8_t> out{'B', 'M'};
  PutLe(out, kHeaders + uint32_t(codes.size()), 4);
  PutLe(out, 0, 4);
  PutLe(out, kHeaders, 4);
  PutLe(out, 40, 4);
  PutLe(out, uint32_t(width), 4);
  PutLe(out, uint32_t(height), 4);
  PutLe(out, 1, 2);  // planes
  PutLe(out, 8, 2);  // bits per pixel
  PutLe(out, 1, 4);  // RLE8
  PutLe(out, uint32_t(codes.size()), 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2, 4);  // colours used
  PutLe(out, 0, 4);
  PutLe(out, 0x000000, 4);
  PutLe(out, 0xFFFFFF, 4);
  out.insert(out.end(), codes.begin(), codes.end());
  return out;
}

// A compressed picture whose shapes share DCT II without quantization, each
// coded as the values 5, `zeros` zeros and 5: a few bytes a shape, but
// zeros + 2 values each when decoded.
inline std::vector<uint8_t> CompressedBomb(int32_t shapes, int32_t zeros) {
  const std::string head("TVLZ11\x01\x01\0\0\0\x02\0\0\0\0\x02", 17);
  std::vector<uint8_t> out(head.begin(), head.end());
  TSymbolTable table;
  table.SetFrequency(TSymbolTable::kEndOfShapePosition, shapes + 1);
  table.SetFrequency(TSymbolTable::kZeroPosition, shapes * zeros + 1);
  table.AppendStored(5, 2 * shapes);
  table.BuildCumulative();
  WriteSymbolTable(table, out, nullptr);
  constexpr size_t kFive = 2;
  TArithEncoder encoder(table, out);
  for (int32_t s = 0; s < shapes; ++s) {
    encoder.EncodeSymbol(kFive);
    for (int32_t z = 0; z < zeros; ++z) encoder.EncodeSymbol(TSymbolTable::kZeroPosition);
    encoder.EncodeSymbol(kFive);
    encoder.EncodeSymbol(TSymbolTable::kEndOfShapePosition);
  }
  encoder.EncodeSymbol(TSymbolTable::kZeroPosition);
  encoder.EncodeSymbol(TSymbolTable::kEndOfShapePosition);
  encoder.FinishEncoding();
  return out;
}

}  // namespace tvlc::testing
