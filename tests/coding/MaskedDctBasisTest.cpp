#include "coding/MaskedDctBasis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "coding/EngineSteps.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

// Pixels with x <= y + 2 and a hole, so that rows hold several runs.
TShapeMask StaircaseWithHole(uint16_t w, uint16_t h) {
  TShapeMask mask(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) mask[size_t(y) * w + x] = x <= y + 2 && x != 1;
  return mask;
}

TShapeData Pattern(size_t count) {
  TShapeData data(count);
  for (size_t i = 0; i < count; ++i) data[i] = std::round(100.0 * std::sin(1.7 * double(i)));
  return data;
}

// The built-in DCT II initialised for one window while a test runs.
class DctWindow {
 public:
  DctWindow(uint16_t w, uint16_t h) { EXPECT_EQ(DctIIDescriptor()->Init(w, h), 0); }
  ~DctWindow() { EXPECT_EQ(DctIIDescriptor()->Done(), 0); }
  double Basis(uint32_t u, uint32_t v, uint32_t x, uint32_t y) const {
    return DctIIDescriptor()->Basis(u, v, x, y);
  }
};

TEST(MaskedDctBasis, ValuesAreTheDctIIBasisValuesBitForBit) {
  for (const auto& [w, h] :
       {std::pair<uint16_t, uint16_t>{1, 1}, {2, 8}, {16, 4}, {64, 32}, {512, 2}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const TMaskedDctBasis basis(w, h, TShapeMask(size_t(w) * h, 1));
    const DctWindow dct(w, h);
    int64_t differing = 0;
    for (uint32_t v = 0; v < h; ++v)
      for (uint32_t u = 0; u < w; ++u)
        for (uint32_t y = 0; y < h; ++y)
          for (uint32_t x = 0; x < w; ++x)
            differing += basis.Value(u, v, x, y) != dct.Basis(u, v, x, y);
    EXPECT_EQ(differing, 0);
  }
}

TEST(MaskedDctBasis, EnergyIsTheLiteralPSNRsEnergyBitForBit) {
  constexpr uint16_t w = 16, h = 8;
  const TShapeMask mask = StaircaseWithHole(w, h);
  const TMaskedDctBasis basis(w, h, mask);
  TShapeData residual = Pattern(mask.size());
  for (size_t p = 0; p < mask.size(); ++p)
    if (!mask[p]) residual[p] = 0.0;
  // 1/3 makes every partial sum round, so any other order would show.
  for (double& value : residual) value /= 3.0;
  const uint32_t count = MaskPixelCount(mask);
  EXPECT_EQ(PSNROfEnergy(basis.Energy(residual), count), ResidualPSNR(residual, count));
  EXPECT_EQ(TMaskedDctBasis(w, h, TShapeMask(mask.size(), 0)).Energy(residual), 0.0);
}

TEST(MaskedDctBasis, SubtractIsTheLiteralResidualUpdateBitForBit) {
  constexpr uint16_t w = 16, h = 8;
  const TShapeMask mask = StaircaseWithHole(w, h);
  TMaskedDctBasis basis(w, h, mask);
  const DctWindow dct(w, h);
  for (const auto& [u, v, m] : {std::tuple<uint16_t, uint16_t, double>{0, 0, 37.25},
                                {5, 0, -3.1},
                                {0, 7, 0.7},
                                {13, 6, -11.9}}) {
    SCOPED_TRACE(std::to_string(u) + "," + std::to_string(v));
    TShapeData residual = Pattern(mask.size());
    TShapeData expected = residual;
    for (uint32_t y = 0; y < h; ++y)
      for (uint32_t x = 0; x < w; ++x)
        if (mask[y * w + x]) expected[y * w + x] -= dct.Basis(u, v, x, y) * m;

    basis.Subtract(u, v, m, residual);
    for (size_t p = 0; p < mask.size(); ++p) EXPECT_EQ(residual[p], expected[p]) << p;
  }
}

}  // namespace
}  // namespace tvlc
