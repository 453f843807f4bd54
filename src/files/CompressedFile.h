// The compressed picture file as bytes: magic, common coding parameters when
// all shapes share them, the symbol table and the arithmetic-coded stream of
// every shape's quantized coefficients, each list closed by an end-of-shape
// symbol, and a trailer of a zero and an end-of-shape symbol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "model/InputPump.h"

namespace tvlc {

// The current magic and the older one, which has no normalization kind.
extern const char* const kCompressedMagic;
extern const char* const kOlderCompressedMagic;

// The reader ends decoding, without a message, at a shape whose values (with
// its parameters when they are stored per shape) reach this number, so the
// writer refuses such a shape.
constexpr size_t kMaxDecodedShapeValues = 162500;

extern const char* const kShapeTooLongMessage;

struct TCompressedShape {
  int32_t ModuleCode;
  int32_t TransCode;
  uint8_t Quality;
  uint8_t NormKind;
  TSpecData Values;
  // Values of the file beyond what the target shape's window takes: counted
  // while reading, not kept.
  size_t Surplus = 0;
};

// Points at which the caller reports progress.
enum class TCompressedStep {
  AnalyzingData,        // before counting the symbols
  CompressingSpectrum,  // before coding them
  LoadingData,          // the magic is known, the symbol table follows
  Decompressing,        // before decoding the symbols
};

struct TCompressedFileHooks {
  std::function<void(TCompressedStep)> OnStep;
  // Polled in every long loop.
  TInputPump* Pump = nullptr;
};

struct TCompressedWriteResult {
  std::vector<uint8_t> Bytes;  // the whole file; empty when Error is set
  std::string Error;
};

// Codes the shapes in list order. Every shape's values must be its quantized
// coefficient list, which never ends with a zero. Refuses an empty shape
// list, a table that cannot be stored, a shape that could not be read back
// in full and a shape the reader would take for the trailer. Every Error is
// a whole log line of its own.
TCompressedWriteResult WriteCompressedPicture(const std::vector<TCompressedShape>& shapes,
                                              const TCompressedFileHooks& hooks = {});

enum class TCompressedReadStatus {
  Ok,
  UnknownFormat,  // neither magic: the caller shows "Unknown input file format"
  Corrupt,        // Error says what is wrong; Shapes is empty
  TooManyShapes,  // Shapes holds the first shapeLimit shapes
};

struct TCompressedReadResult {
  TCompressedReadStatus Status = TCompressedReadStatus::Ok;
  std::string Error;
  std::vector<TCompressedShape> Shapes;
};

// Decodes a whole file onto the shapes of a map: `windows` holds the number
// of values each shape's window takes, in shape-list order. Values beyond a
// window are counted in Surplus, not kept, so a file costs no more memory
// than the windows it fills. Decoding stops with TooManyShapes when the file
// holds more shapes than `windows`. A shape whose values reach
// kMaxDecodedShapeValues ends decoding there without a message; that shape
// and any after it are left out. A stream that needs more than one word
// beyond its end to reach its trailer is Corrupt: a valid one never does.
TCompressedReadResult ReadCompressedPicture(const uint8_t* data, size_t size,
                                            const std::vector<size_t>& windows,
                                            const TCompressedFileHooks& hooks = {});
// The same without a map: every value of any number of shapes is kept.
TCompressedReadResult ReadCompressedPicture(const uint8_t* data, size_t size,
                                            const TCompressedFileHooks& hooks = {});

}  // namespace tvlc
