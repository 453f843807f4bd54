// Records what the engine's progress notifications report, and can end the
// expansion after a given number of notifications.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Arrays.h"
#include "model/Shape.h"

namespace tvlc {

struct EngineRecorder {
  std::vector<int32_t> iterations;
  std::vector<uint32_t> chosen;  // v * width + u
  std::vector<double> psnrs;
  TShapeData lastSpectrum;
  TShapeData lastResidual;
  uint32_t width = 1;
  size_t stopAfter = 0;  // 0: never stop

  TProgressHandler Handler() {
    return [this](int32_t iteration, const TShapeData& spectrum, double psnr,
                  const TShapeData& residual, uint16_t u, uint16_t v, bool& stop) {
      iterations.push_back(iteration);
      chosen.push_back(uint32_t(v) * width + u);
      psnrs.push_back(psnr);
      lastSpectrum = spectrum;
      lastResidual = residual;
      if (stopAfter != 0 && iterations.size() >= stopAfter) stop = true;
    };
  }
};

}  // namespace tvlc
