#include "coding/EngineSteps.h"

#include <cmath>

namespace tvlc {

namespace {

constexpr double kPeakSquared = 255.0 * 255.0;

bool UsableNorm(double norm) { return norm != 0.0 && !std::isnan(norm); }

}  // namespace

uint32_t MaskPixelCount(const TShapeMask& mask) {
  uint32_t count = 0;
  for (uint8_t inside : mask) count += inside;
  return count;
}

double ResidualPSNR(const TShapeData& residual, uint32_t count) {
  return PSNROfEnergy(AddSquares(residual.begin(), residual.end(), 0.0), count);
}

double AddSquares(const double* from, const double* to, double energy) {
  for (; from != to; ++from) energy += *from * *from;
  return energy;
}

double PSNROfEnergy(double energy, uint32_t count) {
  if (energy == 0.0) return kUnlimitedPSNR;
  return 10.0 * std::log10(double(count) * kPeakSquared / energy);
}

void ComputeBasisNorms(const TTransDescriptor& descriptor, uint16_t width, uint16_t height,
                       const TShapeMask& mask, TShapeData& scratch, TShapeData& norms) {
  if (descriptor.BasisNorms) {
    for (size_t i = 0; i < mask.size(); ++i) scratch[i] = double(mask[i]);
    descriptor.BasisNorms(scratch.data(), norms.data());
    return;
  }
  for (uint32_t v = 0; v < height; ++v)
    for (uint32_t u = 0; u < width; ++u) {
      double& norm = norms[size_t(v) * width + u];
      norm = 0.0;
      for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
          if (!mask[size_t(y) * width + x]) continue;
          const double b = descriptor.Basis(u, v, x, y);
          norm += b * b;
        }
    }
}

size_t ChooseCoefficient(const TShapeData& work, const TShapeData& norms) {
  const size_t count = norms.size();
  const double* w = work.data();
  const double* n = norms.data();
  size_t chosen = 0;
  while (chosen < count && !UsableNorm(n[chosen])) ++chosen;
  if (chosen == count) return kNoCoefficient;
  double chosenSquare = w[chosen] * w[chosen], chosenNorm = n[chosen];
  // A NaN norm fails the comparison by itself.
  const auto beats = [&](size_t i) {
    return n[i] != 0.0 && w[i] * w[i] * chosenNorm > chosenSquare * n[i];
  };
  constexpr size_t kBlock = 16;
  size_t i = chosen + 1;
  for (; i + kBlock <= count; i += kBlock) {
    bool any = false;
    for (size_t k = i; k < i + kBlock; ++k) any |= beats(k);
    if (!any) continue;
    for (size_t k = i; k < i + kBlock; ++k)
      if (beats(k)) {
        chosen = k;
        chosenSquare = w[k] * w[k];
        chosenNorm = n[k];
      }
  }
  for (; i < count; ++i)
    if (beats(i)) {
      chosen = i;
      chosenSquare = w[i] * w[i];
      chosenNorm = n[i];
    }
  return chosen;
}

}  // namespace tvlc
