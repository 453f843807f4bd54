// Static two-pass multi-symbol arithmetic coder of the compressed picture
// file: a symbol table counted over the whole picture, then an integer coder
// with 32-bit code values, 64-bit products and deferred opposite bits. Coded
// bits are packed into little-endian 32-bit words, first bit at bit 31.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tvlc {

// One entry of the symbol table.
class TWCData {
 public:
  TWCData(int32_t value, int32_t identity, int32_t positionSlot)
      : Value(value), Identity(identity), PositionSlot(positionSlot) {}

  int32_t Value;
  int32_t Frequency = 1;
  int32_t CumFrequency = 0;
  // Number of entries that existed when this one was created.
  int32_t Identity;
  // Position of the entry whose Identity equals this entry's position.
  int32_t PositionSlot;
};

// Position 0 is the end-of-shape entry, position 1 the value 0, and the other
// values follow in ascending order, each once. Both coders work on positions;
// counting hands out identities, which stay fixed while insertions move
// entries to higher positions.
class TSymbolTable {
 public:
  static constexpr size_t kEndOfShapePosition = 0;
  static constexpr size_t kZeroPosition = 1;
  static constexpr int32_t kEndOfShapeValue = -32768;
  // Renormalization keeps the range above this, so up to this total every
  // counted symbol keeps a non-empty interval.
  static constexpr uint64_t kMaxTotal = uint64_t(1) << 30;

  // The two fixed entries, both with Frequency 0.
  TSymbolTable();

  // Counts one occurrence of a coefficient value and returns the identity of
  // its entry. A value of -32768 gets an entry of its own, apart from the
  // end-of-shape entry.
  int32_t CountSymbol(int32_t value);
  // Counts one end-of-shape symbol; its identity is 0.
  int32_t CountEndOfShape();

  // Rebuilding a stored table: SetFrequency for the two fixed entries, then
  // AppendStored for every further entry in stored order, which is taken as
  // table order. Such a table is meant for decoding, not for more counting.
  void SetFrequency(size_t position, int32_t frequency);
  void AppendStored(int32_t value, int32_t frequency);

  // Fills CumFrequency of every entry and the total; the table must not
  // change afterwards while it codes.
  void BuildCumulative();
  // Sum of all frequencies as of the last BuildCumulative.
  uint64_t Total() const { return total_; }

  // Current table position of the entry with the given identity.
  int32_t PositionOf(int32_t identity);

  size_t Size() const { return entries_.size(); }
  // Entry at a table position.
  const TWCData& At(size_t position);

  // CumFrequency of every position followed by the total: the interval of
  // position p is [Bounds()[p], Bounds()[p + 1]). Valid after BuildCumulative.
  const std::vector<uint32_t>& Bounds() const { return bounds_; }

 private:
  // Counting appends new entries; sorting them into table order waits until
  // positions are asked for, so counting stays fast for large alphabets.
  void EnsureTableOrder();

  std::vector<TWCData> entries_;
  std::unordered_map<int32_t, int32_t> identityOfValue_;
  bool inTableOrder_ = true;
  std::vector<uint32_t> bounds_;
  uint64_t total_ = 0;
};

// floor(n / d) for n below 2^63 and a divisor d of 1 to 2^31 fixed in
// advance, by one multiplication: the coder divides every product by the
// same table total.
class TTotalDivider {
 public:
  explicit TTotalDivider(uint64_t divisor);
  uint64_t Divide(uint64_t n) const {
    return uint64_t((static_cast<unsigned __int128>(n) * magic_) >> shift_);
  }

 private:
  uint64_t magic_;
  unsigned shift_;
};

// Encoder over a table whose total lies in 1..kMaxTotal.
class TArithEncoder {
 public:
  // Coded words are appended to `out`.
  TArithEncoder(const TSymbolTable& table, std::vector<uint8_t>& out);
  // The coder reads the table's counts while it runs.
  TArithEncoder(const TSymbolTable&& table, std::vector<uint8_t>& out) = delete;

  void EncodeSymbol(size_t position);
  // Termination bits, then zeros up to the end of the current word only.
  void FinishEncoding();
  void PutBit(uint32_t bit);

 private:
  // Appends the low `count` bits of `bits`, most significant first; count <= 32.
  void PutBits(uint32_t bits, unsigned count);
  // The deferred opposite bits, however many there are.
  void PutPendingBits(uint32_t bit);

  const uint32_t* bounds_;
  TTotalDivider byTotal_;
  std::vector<uint8_t>& out_;
  uint32_t low_ = 0;
  uint32_t high_ = 0xFFFFFFFFu;
  uint32_t pending_ = 0;
  uint64_t bitAcc_ = 0;
  unsigned bitsLeft_ = 32;
};

// Decoder over a table whose total lies in 1..kMaxTotal. Reading past the end
// of the input repeats stale bits, as the format expects.
class TArithDecoder {
 public:
  TArithDecoder(const TSymbolTable& table, const uint8_t* data, size_t size);
  TArithDecoder(const TSymbolTable&& table, const uint8_t* data, size_t size) = delete;

  void StartDecoding();
  // Table position of the next symbol.
  size_t DecodeSymbol();
  uint32_t GetBit();
  // Bytes loaded so far, including those beyond the input.
  size_t BytesLoaded() const { return offset_; }

 private:
  // The next `count` input bits, first bit most significant; count <= 32.
  uint32_t GetBits(unsigned count);
  // Loads the next word; bytes beyond the input leave BitWord's bytes as they were.
  void LoadWord();
  // Table position whose interval holds the target.
  size_t FindPosition(uint32_t target) const;

  const uint32_t* bounds_;
  size_t lastPosition_;
  uint64_t total_;
  TTotalDivider byTotal_;
  // The targets split into equal buckets; a bucket's entry is the position
  // of its smallest target, which narrows the search to a few positions.
  unsigned bucketShift_ = 0;
  std::vector<uint32_t> bucketStart_;
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
  uint32_t low_ = 0;
  uint32_t high_ = 0xFFFFFFFFu;
  uint32_t codeValue_ = 0;
  uint32_t bitWord_ = 0;
  unsigned bitsLeft_ = 0;
};

}  // namespace tvlc
