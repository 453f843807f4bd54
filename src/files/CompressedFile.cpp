#include "files/CompressedFile.h"

#include <cstring>
#include <utility>

#include "files/ArithCoder.h"
#include "files/SymbolTableIO.h"

namespace tvlc {

const char* const kCompressedMagic = "TVLZ11";
const char* const kOlderCompressedMagic = "TVLZ10";
const char* const kShapeTooLongMessage =
    "Internal codec error. Cannot write compressed picture. A shape has too many coefficient "
    "values to be read back";

namespace {

constexpr size_t kMagicLength = 6;
// Parameters coded before each shape's values when the shapes do not share them.
constexpr size_t kShapeHeaderValues = 4;
constexpr size_t kOlderShapeHeaderValues = 3;
constexpr uint8_t kImpliedNormKind = 2;
constexpr size_t kWordBytes = 4;
// Clock reads for the input pump are spread over this many symbols, so that
// they cost nothing next to the coding.
constexpr size_t kSymbolsPerPoll = 4096;

// The trailer alone would read back as a shape.
const char* const kNoShapesMessage =
    "Internal codec error. Cannot write compressed picture without shapes";
// Four zeros of parameters and an end-of-shape symbol after the previous
// shape's end are exactly the trailer.
const char* const kShapeLikeTrailerMessage =
    "Internal codec error. Cannot write compressed picture. A shape with all coding parameters 0 "
    "and no coefficient values would read back as the end of the file";
const char* const kHeaderTruncatedMessage =
    "Corrupt compressed picture file. Header is incomplete";
const char* const kShapeHeaderMissingMessage =
    "Corrupt compressed picture file. Shape parameters are missing";
const char* const kStreamOverrunMessage =
    "Corrupt compressed picture file. Coded data does not end where its symbol table says";
const char* const kStreamCutShortMessage =
    "Corrupt compressed picture file. Coded data is cut short";
const char* const kTooManyShapesMessage =
    "Compressed picture holds more shapes than the loaded map";

void Report(const TCompressedFileHooks& hooks, TCompressedStep step) {
  if (hooks.OnStep) hooks.OnStep(step);
}

void Poll(const TCompressedFileHooks& hooks) {
  if (hooks.Pump) hooks.Pump->Poll();
}

bool SameParameters(const TCompressedShape& a, const TCompressedShape& b) {
  return a.ModuleCode == b.ModuleCode && a.TransCode == b.TransCode && a.Quality == b.Quality &&
         a.NormKind == b.NormKind;
}

bool ShareParameters(const std::vector<TCompressedShape>& shapes) {
  for (const TCompressedShape& shape : shapes)
    if (!SameParameters(shape, shapes.front())) return false;
  return true;
}

// The reader could not tell where the shapes of this list end.
const char* ReadBackError(const std::vector<TCompressedShape>& shapes, size_t headerValues) {
  const TCompressedShape zero{0, 0, 0, 0, {}};
  for (size_t i = 0; i < shapes.size(); ++i) {
    const TCompressedShape& shape = shapes[i];
    if (headerValues + shape.Values.size() >= kMaxDecodedShapeValues) return kShapeTooLongMessage;
    // The first shape follows no end-of-shape symbol, so it cannot be taken
    // for the trailer.
    if (i > 0 && headerValues > 0 && shape.Values.empty() && SameParameters(shape, zero))
      return kShapeLikeTrailerMessage;
  }
  return nullptr;
}

void PutI32(std::vector<uint8_t>& out, int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(uint32_t(value) >> shift));
}

// Pass 1: counts every symbol of the stream and keeps their identities in
// coding order. Returns an error text, or an empty one.
std::string CountSymbols(const std::vector<TCompressedShape>& shapes, bool shared,
                         const TCompressedFileHooks& hooks, TSymbolTable& table,
                         std::vector<int32_t>& identities) {
  const size_t headerValues = shared ? 0 : kShapeHeaderValues;
  if (const char* error = ReadBackError(shapes, headerValues)) return error;
  size_t symbolCount = 2;
  for (const TCompressedShape& shape : shapes)
    symbolCount += headerValues + shape.Values.size() + 1;
  identities.reserve(symbolCount);
  for (const TCompressedShape& shape : shapes) {
    Poll(hooks);
    if (!shared)
      for (int32_t value : {shape.ModuleCode, shape.TransCode, int32_t(shape.Quality),
                            int32_t(shape.NormKind)})
        identities.push_back(table.CountSymbol(value));
    for (int32_t value : shape.Values) identities.push_back(table.CountSymbol(value));
    identities.push_back(table.CountEndOfShape());
  }
  identities.push_back(table.CountSymbol(0));
  identities.push_back(table.CountEndOfShape());
  return {};
}

}  // namespace

TCompressedWriteResult WriteCompressedPicture(const std::vector<TCompressedShape>& shapes,
                                              const TCompressedFileHooks& hooks) {
  TCompressedWriteResult result;
  if (shapes.empty()) {
    result.Error = kNoShapesMessage;
    return result;
  }
  std::vector<uint8_t>& bytes = result.Bytes;
  bytes.assign(kCompressedMagic, kCompressedMagic + kMagicLength);
  const bool shared = ShareParameters(shapes);
  bytes.push_back(shared ? 1 : 0);
  if (shared) {
    PutI32(bytes, shapes.front().ModuleCode);
    PutI32(bytes, shapes.front().TransCode);
    bytes.push_back(shapes.front().Quality);
    bytes.push_back(shapes.front().NormKind);
  }

  Report(hooks, TCompressedStep::AnalyzingData);
  TSymbolTable table;
  std::vector<int32_t> identities;
  result.Error = CountSymbols(shapes, shared, hooks, table, identities);
  if (result.Error.empty()) {
    table.BuildCumulative();
    result.Error = WriteSymbolTable(table, bytes, hooks.Pump);
  }
  if (!result.Error.empty()) {
    bytes.clear();
    return result;
  }

  Report(hooks, TCompressedStep::CompressingSpectrum);
  TArithEncoder encoder(table, bytes);
  for (size_t i = 0; i < identities.size(); ++i) {
    if (i % kSymbolsPerPoll == 0) Poll(hooks);
    encoder.EncodeSymbol(size_t(table.PositionOf(identities[i])));
  }
  encoder.FinishEncoding();
  return result;
}

namespace {

// Reads onto shapes that take at most Capacity(k) values each, refusing a
// file with more than ShapeLimit shapes.
struct TReadTargets {
  const std::vector<size_t>* Windows = nullptr;  // null: no map, keep everything
  size_t ShapeLimit() const { return Windows ? Windows->size() : SIZE_MAX; }
  size_t Capacity(size_t shape) const {
    if (!Windows) return SIZE_MAX;
    return shape < Windows->size() ? (*Windows)[shape] : 0;
  }
};

TCompressedReadResult ReadCompressed(const uint8_t* data, size_t size,
                                     const TReadTargets& targets,
                                     const TCompressedFileHooks& hooks) {
  TCompressedReadResult result;
  const auto fail = [&result](TCompressedReadStatus status, const char* message) {
    result.Status = status;
    result.Error = message;
    if (status == TCompressedReadStatus::Corrupt) result.Shapes.clear();
    return std::move(result);
  };

  if (size < kMagicLength) return fail(TCompressedReadStatus::UnknownFormat, "");
  const bool current = std::memcmp(data, kCompressedMagic, kMagicLength) == 0;
  if (!current && std::memcmp(data, kOlderCompressedMagic, kMagicLength) != 0)
    return fail(TCompressedReadStatus::UnknownFormat, "");

  TByteReader in(data + kMagicLength, size - kMagicLength);
  bool shared = false;
  TCompressedShape common{0, 0, 0, kImpliedNormKind, {}};
  try {
    shared = in.Read<uint8_t>() != 0;
    if (shared) {
      common.ModuleCode = in.Read<int32_t>();
      common.TransCode = in.Read<int32_t>();
      common.Quality = in.Read<uint8_t>();
      if (current) common.NormKind = in.Read<uint8_t>();
    }
  } catch (const TFormatError&) {
    return fail(TCompressedReadStatus::Corrupt, kHeaderTruncatedMessage);
  }

  Report(hooks, TCompressedStep::LoadingData);
  TSymbolTable table;
  const std::string tableError = ReadSymbolTable(in, table, hooks.Pump);
  if (!tableError.empty()) return fail(TCompressedReadStatus::Corrupt, tableError.c_str());

  Report(hooks, TCompressedStep::Decompressing);
  const size_t streamStart = kMagicLength + in.Position();
  const size_t streamSize = size - streamStart;
  TArithDecoder decoder(table, data + streamStart, streamSize);
  decoder.StartDecoding();
  const size_t headerValues =
      shared ? 0 : (current ? kShapeHeaderValues : kOlderShapeHeaderValues);
  // A valid stream holds exactly the symbols its table counts, and its
  // trailer ends decoding with the last of them.
  const uint64_t symbolLimit = table.Total();
  uint64_t decoded = 0;
  TSpecData buffer;   // the values kept of the current shape
  size_t values = 0;  // every value of the current shape, kept or not
  // End-of-shape symbols since the last value other than 0.
  int boundaries = 0;
  while (values < kMaxDecodedShapeValues) {
    if (decoded == symbolLimit) return fail(TCompressedReadStatus::Corrupt, kStreamOverrunMessage);
    if (decoded++ % kSymbolsPerPoll == 0) Poll(hooks);
    const size_t position = decoder.DecodeSymbol();
    // The coder reads ahead by one word at most, so a stream it needs more
    // of was cut short, and the bits it read in their place were stale.
    if (decoder.BytesLoaded() > streamSize + kWordBytes)
      return fail(TCompressedReadStatus::Corrupt, kStreamCutShortMessage);
    if (position != TSymbolTable::kEndOfShapePosition) {
      const size_t capacity = targets.Capacity(result.Shapes.size());
      if (buffer.size() < headerValues || buffer.size() - headerValues < capacity)
        buffer.push_back(table.At(position).Value);
      ++values;
      if (position != TSymbolTable::kZeroPosition) boundaries = 0;
      continue;
    }
    if (++boundaries == 2) {
      if (values != 0) break;  // nothing but zeros since the last end: the trailer
      boundaries = 1;
    }
    if (result.Shapes.size() == targets.ShapeLimit())
      return fail(TCompressedReadStatus::TooManyShapes, kTooManyShapesMessage);
    if (values < headerValues)
      return fail(TCompressedReadStatus::Corrupt, kShapeHeaderMissingMessage);
    TCompressedShape shape = common;
    if (!shared) {
      shape.ModuleCode = buffer[0];
      shape.TransCode = buffer[1];
      shape.Quality = uint8_t(buffer[2]);
      if (current) shape.NormKind = uint8_t(buffer[3]);
    }
    shape.Values.assign(buffer.begin() + std::ptrdiff_t(headerValues), buffer.end());
    shape.Surplus = values - buffer.size();
    result.Shapes.push_back(std::move(shape));
    buffer.clear();
    values = 0;
  }
  return result;
}

}  // namespace

TCompressedReadResult ReadCompressedPicture(const uint8_t* data, size_t size,
                                            const std::vector<size_t>& windows,
                                            const TCompressedFileHooks& hooks) {
  return ReadCompressed(data, size, TReadTargets{&windows}, hooks);
}

TCompressedReadResult ReadCompressedPicture(const uint8_t* data, size_t size,
                                            const TCompressedFileHooks& hooks) {
  return ReadCompressed(data, size, TReadTargets{}, hooks);
}

}  // namespace tvlc
