// One encode of a shape that serves a whole range of requested PSNRs. The
// greedy expansion towards a high request passes through every lower one, so
// the spectrum it holds when it first reaches a lower request is exactly what
// an encode to that request alone would end with. The engine's notification
// (after every iteration) takes those snapshots.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/Shape.h"
#include "tvlc/module.h"

namespace tvlc {

// A spectrum by its non-zero coefficients; the expansion touches few.
struct TSparseSpectrum {
  std::vector<uint32_t> Index;
  std::vector<double> Value;
};

struct TShapeSnapshots {
  // One per requested level, in the order of the levels.
  std::vector<TSparseSpectrum> AtLevel;
  // Seconds from the start of the encode to each snapshot: what an encode
  // to that level alone takes.
  std::vector<double> SecondsAtLevel;
};

// Encodes the shape from scratch towards the highest of `levels` (ascending)
// with the transformation of `descriptor` and the shape's codes. A level the
// shape's pixels satisfy before any iteration gets the empty spectrum; a
// level the expansion cannot reach gets its final spectrum. `stop` is asked
// after every iteration; true ends the encode, and the levels not reached
// then get the spectrum so far. Throws TEncodeError when the engine fails.
TShapeSnapshots EncodeWithSnapshots(TShape& shape, const TTransDescriptor* descriptor,
                                    const std::vector<double>& levels,
                                    const std::function<bool()>& stop = {});

// Gives the shape a snapshot as its spectrum.
void LoadSnapshot(TShape& shape, const TSparseSpectrum& snapshot);

}  // namespace tvlc
