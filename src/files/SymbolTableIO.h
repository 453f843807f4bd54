// The symbol table as stored in a compressed picture file: the entry count,
// the end-of-shape count in the short count form, the zero count as 4 bytes,
// then per further entry its value difference to the previous entry in the
// short difference form and its count in the short count form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/ArithCoder.h"
#include "files/ByteReader.h"
#include "model/InputPump.h"

namespace tvlc {

// Appenders; false (and nothing appended) when the number has no short form:
// counts 0 to 65,535, differences -65,663 to 65,662.
bool PutShortCount(std::vector<uint8_t>& out, int64_t count);
bool PutShortDifference(std::vector<uint8_t>& out, int64_t difference);

// Readers; a form cut short by the end of the input throws TFormatError.
uint32_t ReadShortCount(TByteReader& in);
int32_t ReadShortDifference(TByteReader& in);

// Appends the stored form of a built table. Returns the message of the first
// entry that cannot be stored, or an empty text; `out` is then incomplete.
std::string WriteSymbolTable(TSymbolTable& table, std::vector<uint8_t>& out, TInputPump* pump);

// Rebuilds a table from its stored form and builds its cumulative counts.
// Returns a message for a table that is cut short, inconsistent with the
// file's size or unusable by the decoder, or an empty text.
std::string ReadSymbolTable(TByteReader& in, TSymbolTable& table, TInputPump* pump);

}  // namespace tvlc
