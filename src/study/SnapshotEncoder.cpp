#include "study/SnapshotEncoder.h"

#include <chrono>

#include "coding/EngineSteps.h"
#include "coding/ShapeCoding.h"

namespace tvlc {

namespace {

using TClock = std::chrono::steady_clock;

TSparseSpectrum Sparse(const TShapeData& spectrum) {
  TSparseSpectrum s;
  for (size_t i = 0; i < spectrum.size(); ++i)
    if (spectrum[i] != 0.0) {
      s.Index.push_back(uint32_t(i));
      s.Value.push_back(spectrum[i]);
    }
  return s;
}

// PSNR of the shape before any iteration: its centred pixels in the window,
// zero outside the shape, as the engine measures them.
double StartingPSNR(const TShape& shape) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  TShapeData residual(size_t(width) * height);
  TShapeMask mask(residual.size());
  size_t k = 0;
  for (int q = 0; q < height; ++q)
    for (int i = 0; i < width; ++i, ++k) {
      const int32_t x = shape.Left + i, y = shape.Top + q;
      if (!shape.Contains(x, y)) continue;
      mask[k] = 1;
      residual[k] = double((*shape.PicData)[size_t(x) + size_t(y) * shape.PicWidth]) - 128.0;
    }
  return ResidualPSNR(residual, MaskPixelCount(mask));
}

}  // namespace

TShapeSnapshots EncodeWithSnapshots(TShape& shape, const TTransDescriptor* descriptor,
                                    const std::vector<double>& levels,
                                    const std::function<bool()>& stop) {
  TShapeSnapshots snapshots;
  snapshots.AtLevel.resize(levels.size());
  snapshots.SecondsAtLevel.assign(levels.size(), 0.0);
  if (levels.empty() || !descriptor) return snapshots;

  const TClock::time_point start = TClock::now();
  size_t next = 0;
  // Levels met before the first iteration keep the empty spectrum.
  const double startingPSNR = StartingPSNR(shape);
  while (next < levels.size() && startingPSNR >= levels[next]) ++next;

  shape.Spectrum.clear();
  shape.PSNR = 0.0;
  const auto onProgress = [&](int32_t, const TShapeData& spectrum, double psnr,
                              const TShapeData&, uint16_t, uint16_t, bool& halt) {
    if (next < levels.size() && psnr >= levels[next]) {
      const TSparseSpectrum reached = Sparse(spectrum);
      const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
      for (; next < levels.size() && psnr >= levels[next]; ++next) {
        snapshots.AtLevel[next] = reached;
        snapshots.SecondsAtLevel[next] = seconds;
      }
    }
    if (stop && stop()) halt = true;
  };
  EncodeWithDescriptor(shape, descriptor, levels.back(), false, 1, onProgress);
  shape.OnProgress = nullptr;

  if (next < levels.size()) {
    const TSparseSpectrum last = Sparse(shape.Spectrum);
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
    for (; next < levels.size(); ++next) {
      snapshots.AtLevel[next] = last;
      snapshots.SecondsAtLevel[next] = seconds;
    }
  }
  return snapshots;
}

void LoadSnapshot(TShape& shape, const TSparseSpectrum& snapshot) {
  shape.Spectrum.assign(size_t(shape.WindowSize()), 0.0);
  for (size_t i = 0; i < snapshot.Index.size(); ++i)
    shape.Spectrum[snapshot.Index[i]] = snapshot.Value[i];
}

}  // namespace tvlc
