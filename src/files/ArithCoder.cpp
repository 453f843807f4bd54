#include "files/ArithCoder.h"

#include <algorithm>
#include <stdexcept>

#include "model/LittleEndian.h"

namespace tvlc {

namespace {

constexpr uint32_t kTopBit = 0x80000000u;
constexpr uint64_t kSearchBuckets = 4096;

uint64_t LowBitsMask(unsigned count) { return (uint64_t(1) << count) - 1; }

// Number of leading bits on which low and high agree (32 when they are equal).
unsigned SharedLeadingBits(uint32_t low, uint32_t high) {
  const uint32_t differing = low ^ high;
  return differing ? unsigned(__builtin_clz(differing)) : 32u;
}

// With bit 31 of low 0 and of high 1: how many bits from bit 30 down have
// low 1 and high 0, i.e. how many underflow steps follow in a row.
unsigned UnderflowSteps(uint32_t low, uint32_t high) {
  const uint32_t straddling = (low & ~high) << 1;
  return unsigned(__builtin_clz(~straddling));  // ~straddling has bit 0 set
}

uint64_t CheckedTotal(const TSymbolTable& table) {
  if (table.Total() == 0 || table.Total() > TSymbolTable::kMaxTotal ||
      table.Bounds().size() != table.Size() + 1)
    throw std::invalid_argument("Arithmetic coder needs a built table with a total of 1 to 2^30");
  return table.Total();
}

}  // namespace

// ---------------------------------------------------------------------------
// Symbol table

TSymbolTable::TSymbolTable() {
  entries_.emplace_back(kEndOfShapeValue, 0, 0);
  entries_.emplace_back(0, 1, 1);
  entries_[kEndOfShapePosition].Frequency = 0;
  entries_[kZeroPosition].Frequency = 0;
}

int32_t TSymbolTable::CountSymbol(int32_t value) {
  if (value == 0) {
    ++entries_[kZeroPosition].Frequency;
    return entries_[kZeroPosition].Identity;
  }
  const int32_t identity = int32_t(entries_.size());
  const auto [found, inserted] = identityOfValue_.try_emplace(value, identity);
  if (!inserted) {
    ++entries_[size_t(entries_[size_t(found->second)].PositionSlot)].Frequency;
    return found->second;
  }
  // A new entry goes to the end; it is already in place when it is the largest.
  inTableOrder_ = inTableOrder_ && (entries_.size() == 2 || entries_.back().Value < value);
  entries_.emplace_back(value, identity, identity);
  return identity;
}

int32_t TSymbolTable::CountEndOfShape() {
  ++entries_[kEndOfShapePosition].Frequency;
  return entries_[kEndOfShapePosition].Identity;
}

void TSymbolTable::SetFrequency(size_t position, int32_t frequency) {
  EnsureTableOrder();
  entries_[position].Frequency = frequency;
}

void TSymbolTable::AppendStored(int32_t value, int32_t frequency) {
  const int32_t identity = int32_t(entries_.size());
  entries_.emplace_back(value, identity, identity).Frequency = frequency;
}

void TSymbolTable::EnsureTableOrder() {
  if (inTableOrder_) return;
  std::sort(entries_.begin() + 2, entries_.end(),
            [](const TWCData& a, const TWCData& b) { return a.Value < b.Value; });
  std::vector<int32_t> positionOfIdentity(entries_.size());
  for (size_t p = 0; p < entries_.size(); ++p)
    positionOfIdentity[size_t(entries_[p].Identity)] = int32_t(p);
  for (size_t k = 0; k < entries_.size(); ++k) entries_[k].PositionSlot = positionOfIdentity[k];
  inTableOrder_ = true;
}

void TSymbolTable::BuildCumulative() {
  EnsureTableOrder();
  bounds_.resize(entries_.size() + 1);
  uint64_t sum = 0;
  for (size_t p = 0; p < entries_.size(); ++p) {
    entries_[p].CumFrequency = int32_t(sum);
    bounds_[p] = uint32_t(sum);
    sum += uint64_t(uint32_t(entries_[p].Frequency));
  }
  bounds_[entries_.size()] = uint32_t(sum);
  total_ = sum;
}

int32_t TSymbolTable::PositionOf(int32_t identity) {
  EnsureTableOrder();
  return entries_[size_t(identity)].PositionSlot;
}

const TWCData& TSymbolTable::At(size_t position) {
  EnsureTableOrder();
  return entries_[position];
}

// ---------------------------------------------------------------------------
// Division by the total

// With 2^l >= d and magic = ceil(2^(63 + l) / d), floor(n * magic / 2^(63 + l))
// equals floor(n / d) for every n below 2^63, and magic fits 64 bits.
TTotalDivider::TTotalDivider(uint64_t divisor) {
  unsigned log = 0;
  while ((uint64_t(1) << log) < divisor) ++log;
  shift_ = 63 + log;
  const unsigned __int128 power = static_cast<unsigned __int128>(1) << shift_;
  magic_ = uint64_t((power + divisor - 1) / divisor);
}

// ---------------------------------------------------------------------------
// Encoder

TArithEncoder::TArithEncoder(const TSymbolTable& table, std::vector<uint8_t>& out)
    : bounds_(table.Bounds().data()), byTotal_(CheckedTotal(table)), out_(out) {}

void TArithEncoder::EncodeSymbol(size_t position) {
  const uint64_t range = uint64_t(high_) - low_ + 1;
  high_ = uint32_t(low_ + byTotal_.Divide(range * bounds_[position + 1]) - 1);
  low_ = uint32_t(low_ + byTotal_.Divide(range * bounds_[position]));

  // Bits on which both ends agree are final; the first of them also settles
  // the deferred bits, which are its opposite.
  const unsigned shared = SharedLeadingBits(low_, high_);
  if (shared) {
    if (pending_) {
      const uint32_t first = low_ >> 31;
      PutBits(first, 1);
      PutPendingBits(first ^ 1);
      PutBits(uint32_t(uint64_t(low_) >> (32 - shared)) & uint32_t(LowBitsMask(shared - 1)),
              shared - 1);
    } else {
      PutBits(uint32_t(uint64_t(low_) >> (32 - shared)), shared);
    }
    low_ = uint32_t(uint64_t(low_) << shared);
    high_ = uint32_t((uint64_t(high_) << shared) | LowBitsMask(shared));
  }
  // The interval straddles the middle: widen it and defer the bit.
  const unsigned steps = UnderflowSteps(low_, high_);
  if (steps) {
    pending_ += steps;
    low_ = (low_ << steps) & ~kTopBit;
    high_ = (high_ << steps) | uint32_t(LowBitsMask(steps)) | kTopBit;
  }
}

void TArithEncoder::FinishEncoding() {
  const uint32_t bit = (low_ >> 30) & 1;
  PutBit(bit);
  ++pending_;
  PutPendingBits(bit ^ 1);
  if (bitsLeft_ != 32) PutBits(0, bitsLeft_);
}

void TArithEncoder::PutBit(uint32_t bit) { PutBits(bit & 1, 1); }

void TArithEncoder::PutBits(uint32_t bits, unsigned count) {
  bitAcc_ = (bitAcc_ << count) | bits;
  if (count < bitsLeft_) {
    bitsLeft_ -= count;
    return;
  }
  const unsigned overflow = count - bitsLeft_;
  const uint32_t word = uint32_t(bitAcc_ >> overflow);
  AppendU32(out_, word);
  bitsLeft_ = 32 - overflow;
}

void TArithEncoder::PutPendingBits(uint32_t bit) {
  const uint32_t run = bit ? 0xFFFFFFFFu : 0u;
  for (; pending_ >= 32; pending_ -= 32) PutBits(run, 32);
  PutBits(run & uint32_t(LowBitsMask(unsigned(pending_))), unsigned(pending_));
  pending_ = 0;
}

// ---------------------------------------------------------------------------
// Decoder

TArithDecoder::TArithDecoder(const TSymbolTable& table, const uint8_t* data, size_t size)
    : bounds_(table.Bounds().data()), lastPosition_(table.Size() - 1),
      total_(CheckedTotal(table)), byTotal_(total_), data_(data), size_(size) {
  while (((total_ - 1) >> bucketShift_) >= kSearchBuckets) ++bucketShift_;
  const size_t buckets = size_t((total_ - 1) >> bucketShift_) + 2;
  bucketStart_.resize(buckets);
  size_t position = 0;
  for (size_t b = 0; b < buckets; ++b) {
    const uint64_t firstTarget = uint64_t(b) << bucketShift_;
    while (position < lastPosition_ && bounds_[position + 1] <= firstTarget) ++position;
    bucketStart_[b] = uint32_t(position);
  }
}

void TArithDecoder::StartDecoding() {
  low_ = 0;
  high_ = 0xFFFFFFFFu;
  bitsLeft_ = 0;
  // The first word becomes the code value; a missing byte reads as 0.
  codeValue_ = 0;
  for (size_t i = 0; i < 4 && i < size_; ++i) codeValue_ |= uint32_t(data_[i]) << (8 * i);
  offset_ = 4;
}

size_t TArithDecoder::DecodeSymbol() {
  const uint64_t range = uint64_t(high_) - low_ + 1;
  const uint64_t target = ((uint64_t(codeValue_ - low_) + 1) * total_ - 1) / range;

  const size_t position = FindPosition(uint32_t(target));

  const uint32_t oldLow = low_;
  if (position != lastPosition_)
    high_ = uint32_t(oldLow + byTotal_.Divide(range * bounds_[position + 1]) - 1);
  low_ = uint32_t(oldLow + byTotal_.Divide(range * bounds_[position]));

  const unsigned shared = SharedLeadingBits(low_, high_);
  if (shared) {
    low_ = uint32_t(uint64_t(low_) << shared);
    high_ = uint32_t((uint64_t(high_) << shared) | LowBitsMask(shared));
    codeValue_ = uint32_t(uint64_t(codeValue_) << shared) | GetBits(shared);
  }
  const unsigned steps = UnderflowSteps(low_, high_);
  if (steps) {
    low_ = (low_ << steps) & ~kTopBit;
    high_ = (high_ << steps) | uint32_t(LowBitsMask(steps)) | kTopBit;
    // Each step inverts bit 30 before shifting; only the last inverted bit
    // survives, at bit 31.
    codeValue_ = ((codeValue_ << steps) ^ kTopBit) | GetBits(steps);
  }
  return position;
}

size_t TArithDecoder::FindPosition(uint32_t target) const {
  // The last position whose cumulative count does not exceed the target.
  // Low <= CodeValue <= High holds for any input, so the target is below the
  // total and its bucket is followed by another.
  const size_t bucket = target >> bucketShift_;
  const uint32_t* base = bounds_ + bucketStart_[bucket];
  for (size_t n = bucketStart_[bucket + 1] - bucketStart_[bucket] + 1; n > 1;) {
    const size_t half = n / 2;
    base = base[half] <= target ? base + half : base;
    n -= half;
  }
  return size_t(base - bounds_);
}

uint32_t TArithDecoder::GetBit() { return GetBits(1); }

uint32_t TArithDecoder::GetBits(unsigned count) {
  if (count <= bitsLeft_) {
    bitsLeft_ -= count;
    return uint32_t((uint64_t(bitWord_) >> bitsLeft_) & LowBitsMask(count));
  }
  const unsigned fromNext = count - bitsLeft_;
  const uint64_t head = bitWord_ & LowBitsMask(bitsLeft_);
  LoadWord();
  bitsLeft_ = 32 - fromNext;
  return uint32_t((head << fromNext) | (uint64_t(bitWord_) >> bitsLeft_));
}

void TArithDecoder::LoadWord() {
  if (offset_ + 4 <= size_) {
    bitWord_ = LoadU32(data_ + offset_);
  } else {
    for (unsigned i = 0; i < 4; ++i)
      if (offset_ + i < size_)
        bitWord_ = (bitWord_ & ~(0xFFu << (8 * i))) | uint32_t(data_[offset_ + i]) << (8 * i);
  }
  offset_ += 4;
}

}  // namespace tvlc
