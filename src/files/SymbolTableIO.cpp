#include "files/SymbolTableIO.h"

#include "model/LittleEndian.h"

namespace tvlc {

namespace {

constexpr int64_t kMaxShortCount = 65535;
constexpr int64_t kMinShortDifference = -65663;
constexpr int64_t kMaxShortDifference = 65662;
constexpr uint8_t kLongCountMark = 0xFF;
constexpr int8_t kLongPositiveMark = 127;
constexpr int8_t kLongNegativeMark = -128;

const char* const kDifferenceDoesNotFitMessage =
    "Internal codec error. Cannot write symbol table for arithmetic codec. Number can't fit to "
    "reserved bits";
const char* const kCountDoesNotFitMessage =
    "Internal codec error. Cannot write symbol table for arithmetic codec. Symbol count can't fit "
    "to reserved bits";
// Beyond it the coder could give a symbol an empty interval.
const char* const kTotalDoesNotFitMessage =
    "Internal codec error. Cannot write symbol table for arithmetic codec. Total symbol count "
    "exceeds coder precision";

const char* const kBadSizeMessage = "Corrupt compressed picture file. Symbol table size is invalid";
const char* const kTruncatedMessage = "Corrupt compressed picture file. Symbol table is incomplete";
const char* const kValueRangeMessage =
    "Corrupt compressed picture file. Symbol table value is out of range";
const char* const kCountRangeMessage =
    "Corrupt compressed picture file. Symbol table counts are out of range";

// Fewest bytes an entry can take: the end-of-shape count, the zero count, and
// a one-byte difference with a one-byte count for each further entry.
constexpr size_t kFixedEntriesMinBytes = 1 + 4;
constexpr size_t kFurtherEntryMinBytes = 2;

}  // namespace

bool PutShortCount(std::vector<uint8_t>& out, int64_t count) {
  if (count < 0 || count > kMaxShortCount) return false;
  if (count < kLongCountMark) {
    out.push_back(uint8_t(count));
  } else {
    out.push_back(kLongCountMark);
    AppendU16(out, uint16_t(count - kLongCountMark));
  }
  return true;
}

bool PutShortDifference(std::vector<uint8_t>& out, int64_t difference) {
  if (difference < kMinShortDifference || difference > kMaxShortDifference) return false;
  if (difference >= kLongPositiveMark) {
    out.push_back(uint8_t(kLongPositiveMark));
    AppendU16(out, uint16_t(difference - kLongPositiveMark));
  } else if (difference <= kLongNegativeMark) {
    out.push_back(uint8_t(kLongNegativeMark));
    AppendU16(out, uint16_t(kLongNegativeMark - difference));
  } else {
    out.push_back(uint8_t(int8_t(difference)));
  }
  return true;
}

uint32_t ReadShortCount(TByteReader& in) {
  const uint8_t first = in.Read<uint8_t>();
  if (first != kLongCountMark) return first;
  return uint32_t(kLongCountMark) + in.Read<uint16_t>();
}

int32_t ReadShortDifference(TByteReader& in) {
  const int8_t first = in.Read<int8_t>();
  if (first == kLongPositiveMark) return kLongPositiveMark + int32_t(in.Read<uint16_t>());
  if (first == kLongNegativeMark) return kLongNegativeMark - int32_t(in.Read<uint16_t>());
  return first;
}

std::string WriteSymbolTable(TSymbolTable& table, std::vector<uint8_t>& out, TInputPump* pump) {
  AppendU32(out, uint32_t(table.Size()));
  if (!PutShortCount(out, table.At(TSymbolTable::kEndOfShapePosition).Frequency))
    return kCountDoesNotFitMessage;
  AppendU32(out, uint32_t(table.At(TSymbolTable::kZeroPosition).Frequency));
  int64_t previousValue = 0;
  for (size_t p = 2; p < table.Size(); ++p) {
    if (pump) pump->Poll();
    const TWCData& entry = table.At(p);
    if (!PutShortDifference(out, int64_t(entry.Value) - previousValue))
      return kDifferenceDoesNotFitMessage;
    if (!PutShortCount(out, entry.Frequency)) return kCountDoesNotFitMessage;
    previousValue = entry.Value;
  }
  if (table.Total() > TSymbolTable::kMaxTotal) return kTotalDoesNotFitMessage;
  return {};
}

std::string ReadSymbolTable(TByteReader& in, TSymbolTable& table, TInputPump* pump) {
  try {
    const int32_t entryCount = in.Read<int32_t>();
    if (entryCount < 2 || in.Remaining() < kFixedEntriesMinBytes ||
        size_t(entryCount - 2) > (in.Remaining() - kFixedEntriesMinBytes) / kFurtherEntryMinBytes)
      return kBadSizeMessage;

    table.SetFrequency(TSymbolTable::kEndOfShapePosition, int32_t(ReadShortCount(in)));
    const uint32_t zeroCount = in.Read<uint32_t>();
    if (zeroCount > TSymbolTable::kMaxTotal) return kCountRangeMessage;
    table.SetFrequency(TSymbolTable::kZeroPosition, int32_t(zeroCount));

    int64_t value = 0;
    for (int32_t p = 2; p < entryCount; ++p) {
      if (pump) pump->Poll();
      value += ReadShortDifference(in);
      if (value < INT32_MIN || value > INT32_MAX) return kValueRangeMessage;
      table.AppendStored(int32_t(value), int32_t(ReadShortCount(in)));
    }
  } catch (const TFormatError&) {
    return kTruncatedMessage;
  }
  table.BuildCumulative();
  if (table.Total() == 0 || table.Total() > TSymbolTable::kMaxTotal) return kCountRangeMessage;
  return {};
}

}  // namespace tvlc
