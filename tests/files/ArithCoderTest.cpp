#include "files/ArithCoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <vector>

namespace tvlc {
namespace {

using Bytes = std::vector<uint8_t>;

// ---------------------------------------------------------------------------
// Oracles: the table insertion and the coder written out one bit at a time,
// the way the format describes them. The production code takes bits in runs
// and defers table ordering, so agreeing with these is the real check.

class ReferenceTable {
 public:
  struct Entry {
    int32_t Value;
    int32_t Identity;
    int32_t Slot;
  };

  ReferenceTable() : entries_{{-32768, 0, 0}, {0, 1, 1}} {}

  int32_t Count(int32_t x) {
    const int n = int(entries_.size());
    int p = 1;
    if (x != 0) {
      int lo = 1, hi = n, mid = (lo + hi) / 2;
      while (lo < hi - 1) {
        if (entries_[size_t(mid)].Value < x)
          lo = mid;
        else if (entries_[size_t(mid)].Value > x)
          hi = mid;
        else
          lo = hi = mid;
        mid = (lo + hi) / 2;
      }
      p = hi;
    }
    if (p < n && entries_[size_t(p)].Value == x) return entries_[size_t(p)].Identity;
    for (Entry& e : entries_)
      if (e.Slot >= p) ++e.Slot;
    const int32_t slot = p < n ? entries_[size_t(p)].Slot : p;
    entries_.insert(entries_.begin() + p, Entry{x, n, slot});
    for (int q = p + 1; q <= n - 1; ++q) entries_[size_t(q)].Slot = entries_[size_t(q) + 1].Slot;
    entries_[size_t(n)].Slot = p;
    return n;
  }

  int32_t PositionOf(int32_t identity) const { return entries_[size_t(identity)].Slot; }

 private:
  std::vector<Entry> entries_;
};

struct ReferenceEncoder {
  std::vector<uint32_t> bounds;  // cumulative counts, total last
  uint32_t low = 0, high = 0xFFFFFFFFu;
  uint64_t pending = 0, maxPending = 0;
  uint32_t acc = 0;
  int bitsLeft = 32;
  uint64_t bitsWritten = 0;
  Bytes out;

  void PutBit(uint32_t bit) {
    ++bitsWritten;
    acc = acc * 2 + bit;
    if (--bitsLeft == 0) {
      for (int i = 0; i < 4; ++i) out.push_back(uint8_t(acc >> (8 * i)));
      acc = 0;
      bitsLeft = 32;
    }
  }
  void Encode(size_t p) {
    const uint64_t total = bounds.back();
    const uint64_t range = uint64_t(high) - low + 1;
    const uint32_t oldLow = low;
    high = uint32_t(oldLow + range * bounds[p + 1] / total - 1);
    low = uint32_t(oldLow + range * bounds[p] / total);
    for (;;) {
      if ((high >> 31) == (low >> 31)) {
        const uint32_t bit = low >> 31;
        PutBit(bit);
        for (; pending > 0; --pending) PutBit(bit ^ 1);
        low = low * 2;
        high = high * 2 + 1;
      } else if ((low >> 30 & 1) == 1 && (high >> 30 & 1) == 0) {
        maxPending = std::max(maxPending, ++pending);
        low = (low & ~0x40000000u) * 2;
        high = (high | 0x40000000u) * 2 + 1;
      } else {
        break;
      }
    }
  }
  // Bits written before the zero fill.
  uint64_t Finish() {
    const uint32_t bit = low >> 30 & 1;
    PutBit(bit);
    for (uint64_t i = 0; i < pending + 1; ++i) PutBit(bit ^ 1);
    const uint64_t beforeFill = bitsWritten;
    while (bitsLeft != 32) PutBit(0);
    return beforeFill;
  }
};

struct ReferenceDecoder {
  std::vector<uint32_t> bounds;
  Bytes in;
  size_t offset = 4;
  uint32_t low = 0, high = 0xFFFFFFFFu, code = 0, word = 0;
  int bitsLeft = 0;

  ReferenceDecoder(std::vector<uint32_t> b, Bytes bytes) : bounds(std::move(b)), in(std::move(bytes)) {
    for (size_t i = 0; i < 4 && i < in.size(); ++i) code |= uint32_t(in[i]) << (8 * i);
  }
  uint32_t GetBit() {
    if (bitsLeft == 0) {
      for (size_t i = 0; i < 4; ++i)
        if (offset + i < in.size()) word = (word & ~(0xFFu << (8 * i))) | uint32_t(in[offset + i]) << (8 * i);
      offset += 4;
      bitsLeft = 32;
    }
    --bitsLeft;
    return word >> bitsLeft & 1;
  }
  size_t Decode() {
    const size_t n = bounds.size() - 1;
    const uint64_t total = bounds.back();
    const uint64_t range = uint64_t(high) - low + 1;
    const uint64_t target = ((uint64_t(code - low) + 1) * total - 1) / range;
    long lo = -1, hi = long(n), mid = (long(n) - 1) / 2;
    while (lo < hi - 1) {
      if (mid < long(n) - 1 && bounds[size_t(mid) + 1] <= target)
        lo = mid;
      else if (bounds[size_t(mid)] > target)
        hi = mid;
      else
        lo = hi = mid;
      mid = (lo + hi) / 2;
    }
    const size_t p = size_t(hi);
    const uint32_t oldLow = low;
    if (p != n - 1) high = uint32_t(oldLow + range * bounds[p + 1] / total - 1);
    low = uint32_t(oldLow + range * bounds[p] / total);
    for (;;) {
      if ((high >> 31) == (low >> 31)) {
        low = low * 2;
        high = high * 2 + 1;
        code = code * 2 + GetBit();
      } else if ((low >> 30 & 1) == 1 && (high >> 30 & 1) == 0) {
        low = (low & ~0x40000000u) * 2;
        high = (high | 0x40000000u) * 2 + 1;
        code = (code ^ 0x40000000u) * 2 + GetBit();
      } else {
        break;
      }
    }
    return p;
  }
};

// ---------------------------------------------------------------------------
// Helpers

// A built table with the given frequencies at positions 0, 1, 2, ...; the
// values from position 2 on are 1, 2, 3, ...
TSymbolTable TableWithFrequencies(const std::vector<int32_t>& frequencies) {
  TSymbolTable table;
  table.SetFrequency(0, frequencies[0]);
  table.SetFrequency(1, frequencies[1]);
  for (size_t p = 2; p < frequencies.size(); ++p) table.AppendStored(int32_t(p - 1), frequencies[p]);
  table.BuildCumulative();
  return table;
}

Bytes Encode(const TSymbolTable& table, const std::vector<size_t>& positions) {
  Bytes out;
  TArithEncoder encoder(table, out);
  for (size_t p : positions) encoder.EncodeSymbol(p);
  encoder.FinishEncoding();
  return out;
}

std::vector<size_t> Decode(const TSymbolTable& table, const Bytes& bytes, size_t count) {
  TArithDecoder decoder(table, bytes.data(), bytes.size());
  decoder.StartDecoding();
  std::vector<size_t> positions;
  for (size_t i = 0; i < count; ++i) positions.push_back(decoder.DecodeSymbol());
  return positions;
}

// Positions drawn according to the table's frequencies, so every symbol is
// one the table counts.
std::vector<size_t> DrawPositions(const std::vector<int32_t>& frequencies, size_t count,
                                  std::mt19937& rng) {
  std::discrete_distribution<size_t> pick(frequencies.begin(), frequencies.end());
  std::vector<size_t> positions(count);
  for (size_t& p : positions) p = pick(rng);
  return positions;
}

void ExpectMatchesReference(const TSymbolTable& table, const std::vector<size_t>& positions) {
  ReferenceEncoder reference;
  reference.bounds = table.Bounds();
  for (size_t p : positions) reference.Encode(p);
  reference.Finish();
  const Bytes bytes = Encode(table, positions);
  ASSERT_EQ(bytes, reference.out);

  ReferenceDecoder referenceDecoder(table.Bounds(), bytes);
  std::vector<size_t> referencePositions;
  for (size_t i = 0; i < positions.size(); ++i) referencePositions.push_back(referenceDecoder.Decode());
  EXPECT_EQ(referencePositions, positions);
  EXPECT_EQ(Decode(table, bytes, positions.size()), positions);
}

// ---------------------------------------------------------------------------
// Symbol table

TEST(SymbolTable, StartsWithTheTwoFixedEntriesUncounted) {
  TSymbolTable table;
  ASSERT_EQ(table.Size(), 2u);
  EXPECT_EQ(table.At(0).Value, -32768);
  EXPECT_EQ(table.At(0).Identity, 0);
  EXPECT_EQ(table.At(0).Frequency, 0);
  EXPECT_EQ(table.At(1).Value, 0);
  EXPECT_EQ(table.At(1).Identity, 1);
  EXPECT_EQ(table.At(1).Frequency, 0);
}

TEST(SymbolTable, NewEntryStartsWithFrequencyOne) {
  const TWCData entry(42, 7, 3);
  EXPECT_EQ(entry.Value, 42);
  EXPECT_EQ(entry.Identity, 7);
  EXPECT_EQ(entry.PositionSlot, 3);
  EXPECT_EQ(entry.Frequency, 1);
}

TEST(SymbolTable, CountingGivesIdentitiesAndAscendingPositions) {
  TSymbolTable table;
  EXPECT_EQ(table.CountSymbol(5), 2);
  EXPECT_EQ(table.CountSymbol(-3), 3);
  EXPECT_EQ(table.CountSymbol(0), 1);
  EXPECT_EQ(table.CountSymbol(-32768), 4);
  EXPECT_EQ(table.CountSymbol(5), 2);
  EXPECT_EQ(table.CountSymbol(7), 5);
  EXPECT_EQ(table.CountSymbol(-32768), 4);
  EXPECT_EQ(table.CountEndOfShape(), 0);
  table.BuildCumulative();

  const std::vector<int32_t> values{-32768, 0, -32768, -3, 5, 7};
  const std::vector<int32_t> frequencies{1, 1, 2, 1, 2, 1};
  const std::vector<int32_t> cumulative{0, 1, 2, 4, 5, 7};
  const std::vector<int32_t> identities{0, 1, 4, 3, 2, 5};
  ASSERT_EQ(table.Size(), 6u);
  for (size_t p = 0; p < 6; ++p) {
    EXPECT_EQ(table.At(p).Value, values[p]) << p;
    EXPECT_EQ(table.At(p).Frequency, frequencies[p]) << p;
    EXPECT_EQ(table.At(p).CumFrequency, cumulative[p]) << p;
    EXPECT_EQ(table.At(p).Identity, identities[p]) << p;
  }
  EXPECT_EQ(table.Total(), 8u);
  EXPECT_EQ(table.Bounds(), (std::vector<uint32_t>{0, 1, 2, 4, 5, 7, 8}));
  const std::vector<int32_t> positionOfIdentity{0, 1, 4, 3, 2, 5};
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(table.PositionOf(k), positionOfIdentity[size_t(k)]);
}

TEST(SymbolTable, CoefficientMinus32768IsNotTheEndOfShape) {
  TSymbolTable table;
  const int32_t coefficient = table.CountSymbol(-32768);
  table.CountEndOfShape();
  table.BuildCumulative();
  EXPECT_EQ(coefficient, 2);
  EXPECT_EQ(table.PositionOf(coefficient), 2);
  EXPECT_EQ(table.At(0).Frequency, 1);
  EXPECT_EQ(table.At(2).Value, -32768);
  EXPECT_EQ(table.At(2).Frequency, 1);
}

TEST(SymbolTable, PositionOfFollowsTheDocumentedInsertionAfterEveryCount) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> small(-40, 40);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  TSymbolTable table;
  ReferenceTable reference;
  for (int i = 0; i < 3000; ++i) {
    const int32_t value = i % 5 == 0 ? any(rng) : small(rng);
    const int32_t identity = table.CountSymbol(value);
    ASSERT_EQ(identity, reference.Count(value)) << i;
    if (i % 97 == 0) {  // also between counts, not only once counting is over
      for (int32_t k = 0; k < int32_t(table.Size()); ++k)
        ASSERT_EQ(table.PositionOf(k), reference.PositionOf(k)) << i << " " << k;
    }
  }
  table.BuildCumulative();
  for (int32_t k = 0; k < int32_t(table.Size()); ++k)
    ASSERT_EQ(table.PositionOf(k), reference.PositionOf(k)) << k;
  for (size_t p = 3; p < table.Size(); ++p) ASSERT_LT(table.At(p - 1).Value, table.At(p).Value);
}

TEST(SymbolTable, FrequenciesCountEveryOccurrence) {
  std::mt19937 rng(3);
  std::geometric_distribution<int32_t> magnitude(0.3);
  std::vector<int32_t> values(20000);
  for (int32_t& v : values) v = (rng() & 1 ? 1 : -1) * magnitude(rng);
  TSymbolTable table;
  for (int32_t v : values) table.CountSymbol(v);
  table.BuildCumulative();
  EXPECT_EQ(table.Total(), values.size());
  for (size_t p = 1; p < table.Size(); ++p)
    EXPECT_EQ(table.At(p).Frequency, std::count(values.begin(), values.end(), table.At(p).Value));
}

// ---------------------------------------------------------------------------
// Coder

TEST(TotalDivider, DividesExactly) {
  std::mt19937_64 rng(17);
  std::vector<uint64_t> divisors{1, 2, 3, 5, 6, 7, 255, 1000, (1u << 30) - 1, 1u << 30,
                                 (1u << 30) + 1, 2147483647u, 2147483648u};
  for (int i = 0; i < 200; ++i) divisors.push_back(1 + rng() % (uint64_t(1) << (1 + i % 31)));
  for (uint64_t d : divisors) {
    const TTotalDivider divider(d);
    std::vector<uint64_t> dividends{0, 1, d - 1, d, d + 1, (uint64_t(1) << 62),
                                    (uint64_t(1) << 63) - 1, ((uint64_t(1) << 63) - 1) / d * d};
    for (int k = 0; k < 200; ++k) dividends.push_back(rng() >> (1 + k % 63));
    for (uint64_t n : dividends) ASSERT_EQ(divider.Divide(n), n / d) << n << " / " << d;
  }
}

TEST(ArithCoder, DocumentedStreamOfTheTwoFixedEntries) {
  // End-of-shape, then the trailer's 0 and end-of-shape.
  const TSymbolTable table = TableWithFrequencies({2, 1});
  const Bytes bytes = Encode(table, {0, 1, 0});
  EXPECT_EQ(bytes, (Bytes{0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(Decode(table, bytes, 3), (std::vector<size_t>{0, 1, 0}));
}

TEST(ArithCoder, DocumentedStreamWithTwoValues) {
  // Values -3 and 5 at positions 2 and 3; the list 5, 0, -3 and the trailer.
  const TSymbolTable table = TableWithFrequencies({2, 2, 1, 1});
  const std::vector<size_t> positions{3, 1, 2, 0, 1, 0};
  const Bytes bytes = Encode(table, positions);
  EXPECT_EQ(bytes, (Bytes{0x00, 0x00, 0x50, 0xED}));
  EXPECT_EQ(Decode(table, bytes, positions.size()), positions);
}

TEST(ArithCoder, FirstCodedBitIsBit31OfTheFirstWord) {
  const TSymbolTable table = TableWithFrequencies({1, 1});
  Bytes out;
  TArithEncoder encoder(table, out);
  for (uint32_t bit : {1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                       0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1})
    encoder.PutBit(bit);
  EXPECT_EQ(out, (Bytes{0xF1, 0x00, 0x00, 0xB0}));
}

TEST(ArithCoder, MatchesTheBitwiseCoderOnRandomStreams) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    const size_t n = 2 + rng() % 300;
    std::vector<int32_t> frequencies(n);
    for (int32_t& f : frequencies) f = int32_t(1 + rng() % (round % 3 == 0 ? 3 : 5000));
    const TSymbolTable table = TableWithFrequencies(frequencies);
    ExpectMatchesReference(table, DrawPositions(frequencies, 1 + rng() % 3000, rng));
  }
}

TEST(ArithCoder, MatchesTheBitwiseCoderOnSkewedStreams) {
  // One symbol far more likely than the rest: long runs of shared bits and
  // of near-empty output.
  std::mt19937 rng(12);
  const std::vector<int32_t> frequencies{1, 1 << 29, 3, 1, 70};
  ExpectMatchesReference(TableWithFrequencies(frequencies), DrawPositions(frequencies, 20000, rng));
}

TEST(ArithCoder, LongRunsOfDeferredBitsAreWrittenInFull) {
  // The middle symbol keeps the interval straddling the middle of the range.
  const int32_t half = (1 << 29) - 1;
  const std::vector<int32_t> frequencies{half, 2, half};
  const TSymbolTable table = TableWithFrequencies(frequencies);
  for (size_t last : {size_t(0), size_t(2)}) {
    std::vector<size_t> positions(40, 1);
    positions.push_back(last);
    ReferenceEncoder reference;
    reference.bounds = table.Bounds();
    for (size_t p : positions) reference.Encode(p);
    EXPECT_GT(reference.maxPending, 255u);
    ExpectMatchesReference(table, positions);
  }
}

TEST(ArithCoder, OnlyTheTwoFixedEntries) {
  std::mt19937 rng(5);
  const std::vector<int32_t> frequencies{40, 3};
  ExpectMatchesReference(TableWithFrequencies(frequencies), DrawPositions(frequencies, 43, rng));
}

TEST(ArithCoder, LastPositionKeepsHigh) {
  // The last position takes most of the range, so it is coded many times in
  // a row and its interval reaches High every time.
  const std::vector<int32_t> frequencies{1, 2, 5, 1000};
  const TSymbolTable table = TableWithFrequencies(frequencies);
  std::vector<size_t> positions(500, 3);
  positions.insert(positions.begin() + 100, {2, 0, 1});
  ExpectMatchesReference(table, positions);
}

TEST(ArithCoder, TerminationEndingOnAWordBoundaryAddsNoZeroWord) {
  std::mt19937 rng(21);
  const std::vector<int32_t> frequencies{3, 10, 4, 4, 1};
  const TSymbolTable table = TableWithFrequencies(frequencies);
  int found = 0;
  for (int attempt = 0; attempt < 2000 && found < 3; ++attempt) {
    const std::vector<size_t> positions = DrawPositions(frequencies, 5 + rng() % 40, rng);
    ReferenceEncoder reference;
    reference.bounds = table.Bounds();
    for (size_t p : positions) reference.Encode(p);
    const uint64_t bits = reference.Finish();
    if (bits % 32 != 0) continue;
    ++found;
    EXPECT_EQ(Encode(table, positions).size(), bits / 8);
    EXPECT_EQ(reference.out.size(), bits / 8);
  }
  EXPECT_EQ(found, 3);
}

TEST(ArithCoder, FinishingWritesAtLeastTwoBitsAndCompletesTheWord) {
  const TSymbolTable table = TableWithFrequencies({1, 1});
  Bytes out;
  TArithEncoder encoder(table, out);
  encoder.FinishEncoding();  // Low 0: bit 0, then one opposite bit
  EXPECT_EQ(out, (Bytes{0x00, 0x00, 0x00, 0x40}));
}

TEST(ArithCoder, DecodingReadsPastTheEndWithStaleBits) {
  // Only CodeValue's word and half of the next one are there.
  const Bytes bytes{0x00, 0x00, 0x00, 0x00, 0xA1, 0xB2};
  const TSymbolTable table = TableWithFrequencies({1, 1});
  TArithDecoder decoder(table, bytes.data(), bytes.size());
  decoder.StartDecoding();
  uint32_t word = 0;
  for (int i = 0; i < 32; ++i) word = word * 2 + decoder.GetBit();
  EXPECT_EQ(word, 0x0000B2A1u);
  for (int i = 0; i < 64; ++i) word = word * 2 + decoder.GetBit();
  EXPECT_EQ(word, 0x0000B2A1u);  // nothing more to read: the word stays as it was
}

TEST(ArithCoder, DecodingAnEmptyInputNeitherFailsNorReadsAnything) {
  const TSymbolTable table = TableWithFrequencies({1, 1, 1});
  TArithDecoder decoder(table, nullptr, 0);
  decoder.StartDecoding();
  for (int i = 0; i < 100; ++i) EXPECT_LT(decoder.DecodeSymbol(), 3u);
}

TEST(ArithCoder, RandomBytesDecodeToValidPositions) {
  std::mt19937 rng(99);
  Bytes bytes(400);
  for (uint8_t& b : bytes) b = uint8_t(rng());
  const std::vector<int32_t> frequencies{1, 0, 7, 0, 0, 3, 1};
  const TSymbolTable table = TableWithFrequencies(frequencies);
  ReferenceDecoder reference(table.Bounds(), bytes);
  TArithDecoder decoder(table, bytes.data(), bytes.size());
  decoder.StartDecoding();
  for (int i = 0; i < 5000; ++i) {
    const size_t p = decoder.DecodeSymbol();
    ASSERT_EQ(p, reference.Decode()) << i;
    ASSERT_NE(frequencies[p], 0) << i;  // an empty interval is never chosen
  }
}

TEST(ArithCoder, RefusesATableItCannotCodeWith) {
  Bytes out;
  const TSymbolTable unbuilt;
  const TSymbolTable empty = TableWithFrequencies({0, 0});
  const TSymbolTable tooLarge = TableWithFrequencies({1 << 29, 1 << 29, 1});
  const TSymbolTable largest = TableWithFrequencies({1 << 29, 1 << 29});
  EXPECT_THROW(TArithEncoder(unbuilt, out), std::invalid_argument);
  EXPECT_THROW(TArithDecoder(empty, nullptr, 0), std::invalid_argument);
  EXPECT_THROW(TArithEncoder(tooLarge, out), std::invalid_argument);
  EXPECT_NO_THROW(TArithEncoder(largest, out));
}

}  // namespace
}  // namespace tvlc
