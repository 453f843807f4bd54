#include "files/ShapeQuantization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "files/Zigzag.h"
#include "transform/DCTII.h"
#include "transform/InternalModule.h"
#include "transform/Registry.h"

namespace tvlc {
namespace {

using Points = std::vector<std::pair<int, int>>;  // (u, v)

Points AsPairs(const std::vector<TZigzagPoint>& order) {
  Points pairs;
  for (const TZigzagPoint& p : order) pairs.emplace_back(p.U, p.V);
  return pairs;
}

// A shape whose rounded window is width x height (powers of two).
std::unique_ptr<TShape> MakeShape(int width, int height) {
  auto map = std::make_shared<const std::vector<int32_t>>(size_t(width) * size_t(height), 1);
  auto shape = std::make_unique<TShape>(1, nullptr, width, map, width, 0, 0);
  shape->AddPoint(1, width - 1, height - 1);
  return shape;
}

void SetCoefficient(TShape& shape, int u, int v, double value) {
  shape.Spectrum[size_t(v) * size_t(shape.RoundedWidth()) + size_t(u)] = value;
}

double Coefficient(const TShape& shape, int u, int v) {
  return shape.Spectrum[size_t(v) * size_t(shape.RoundedWidth()) + size_t(u)];
}

// ---------------------------------------------------------------------------
// Zigzag order

TEST(Zigzag, FourByFourGoesDownTheFirstColumnFirst) {
  EXPECT_EQ(AsPairs(ZigzagOrder(4, 4)),
            (Points{{0, 0}, {0, 1}, {1, 0}, {2, 0}, {1, 1}, {0, 2}, {0, 3}, {1, 2},
                    {2, 1}, {3, 0}, {3, 1}, {2, 2}, {1, 3}, {2, 3}, {3, 2}, {3, 3}}));
}

TEST(Zigzag, LargerBlocksBeginTheSameWay) {
  const Points beginning{{0, 0}, {0, 1}, {1, 0}, {2, 0}, {1, 1},
                         {0, 2}, {0, 3}, {1, 2}, {2, 1}, {3, 0}};
  for (auto [w, h] : {std::pair{8u, 8u}, std::pair{16u, 4u}, std::pair{4u, 64u}})
    EXPECT_EQ(AsPairs(ZigzagOrder(w, h, 10)), beginning) << w << "x" << h;
}

TEST(Zigzag, SingleColumnAndSingleRow) {
  EXPECT_EQ(AsPairs(ZigzagOrder(1, 4)), (Points{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
  EXPECT_EQ(AsPairs(ZigzagOrder(4, 1)), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(AsPairs(ZigzagOrder(1, 1)), (Points{{0, 0}}));
}

TEST(Zigzag, RectangularBlocks) {
  EXPECT_EQ(AsPairs(ZigzagOrder(2, 4)),
            (Points{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}}));
  EXPECT_EQ(AsPairs(ZigzagOrder(4, 2)),
            (Points{{0, 0}, {0, 1}, {1, 0}, {2, 0}, {1, 1}, {2, 1}, {3, 0}, {3, 1}}));
}

TEST(Zigzag, VisitsEveryCoefficientOnceMovingToANeighbour) {
  for (uint32_t w : {1u, 2u, 4u, 8u, 32u, 128u})
    for (uint32_t h : {1u, 2u, 4u, 16u, 64u}) {
      const std::vector<TZigzagPoint> order = ZigzagOrder(w, h);
      ASSERT_EQ(order.size(), size_t(w) * h);
      std::set<std::pair<int, int>> seen;
      for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_LT(order[i].U, w);
        ASSERT_LT(order[i].V, h);
        seen.emplace(order[i].U, order[i].V);
        if (i > 0) {
          ASSERT_LE(std::abs(int(order[i].U) - int(order[i - 1].U)), 1);
          ASSERT_LE(std::abs(int(order[i].V) - int(order[i - 1].V)), 1);
        }
      }
      EXPECT_EQ(seen.size(), order.size()) << w << "x" << h;
      EXPECT_EQ(order.back().U, w - 1);
      EXPECT_EQ(order.back().V, h - 1);
    }
}

TEST(Zigzag, LimitKeepsTheBeginning) {
  const Points full = AsPairs(ZigzagOrder(8, 8));
  EXPECT_EQ(AsPairs(ZigzagOrder(8, 8, 5)), Points(full.begin(), full.begin() + 5));
  EXPECT_TRUE(ZigzagOrder(8, 8, 0).empty());
  EXPECT_EQ(AsPairs(ZigzagOrder(8, 8, 1000)), full);
}

// ---------------------------------------------------------------------------
// Quantize

TEST(Quantize, UnquantizedListIsTheRoundedSpectrumInZigzagOrder) {
  auto shape = MakeShape(4, 4);
  shape->Spectrum.assign(16, 0.0);
  // Documented order: (0,0) (0,1) (1,0) (2,0) (1,1) (0,2) (0,3) (1,2) (2,1) ...
  SetCoefficient(*shape, 0, 0, 2.5);
  SetCoefficient(*shape, 0, 1, 3.5);
  SetCoefficient(*shape, 1, 0, -2.5);
  SetCoefficient(*shape, 2, 0, 0.4);  // rounds to an inner zero
  SetCoefficient(*shape, 1, 1, -7.6);
  SetCoefficient(*shape, 0, 3, 1.5);
  SetCoefficient(*shape, 1, 2, 0.49);  // rounds to a trailing zero
  SetCoefficient(*shape, 3, 3, -0.5);  // so does this half
  TSpecData out{99};
  EXPECT_EQ(Quantize(*shape, out), 7);
  EXPECT_EQ(out, (TSpecData{2, 4, -2, 0, -8, 0, 2}));
}

TEST(Quantize, LastCoefficientMakesTheListFull) {
  auto shape = MakeShape(2, 2);
  shape->Spectrum.assign(4, 0.0);
  SetCoefficient(*shape, 1, 1, -3.0);
  TSpecData out;
  EXPECT_EQ(Quantize(*shape, out), 4);
  EXPECT_EQ(out, (TSpecData{0, 0, 0, -3}));
}

TEST(Quantize, NoSpectrumLeavesTheListUntouched) {
  auto shape = MakeShape(4, 4);
  TSpecData out{1, 2, 3};
  EXPECT_EQ(Quantize(*shape, out), 0);
  EXPECT_EQ(out, (TSpecData{1, 2, 3}));
}

TEST(Quantize, AllZeroSpectrumGivesAnEmptyList) {
  auto shape = MakeShape(8, 4);
  shape->Spectrum.assign(32, 0.3);
  TSpecData out{1, 2, 3};
  EXPECT_EQ(Quantize(*shape, out), 0);
  EXPECT_TRUE(out.empty());
}

TEST(Quantize, SingleCoefficientWindow) {
  auto shape = MakeShape(1, 1);
  shape->Spectrum.assign(1, -3.7);
  TSpecData out;
  EXPECT_EQ(Quantize(*shape, out), 1);
  EXPECT_EQ(out, TSpecData{-4});
  shape->Spectrum[0] = 0.2;
  EXPECT_EQ(Quantize(*shape, out), 0);
  EXPECT_TRUE(out.empty());
}

TEST(Quantize, NormalizationScalesBeforeRounding) {
  auto shape = MakeShape(4, 4);
  shape->Spectrum.assign(16, 0.0);
  SetCoefficient(*shape, 0, 0, 1.3);
  SetCoefficient(*shape, 0, 1, 10.0);
  TSpecData out;
  shape->SetNormKind(0);  // factor 4
  Quantize(*shape, out);
  EXPECT_EQ(out, (TSpecData{5, 40}));
  shape->SetNormKind(1);  // factor 1/4
  Quantize(*shape, out);
  EXPECT_EQ(out, (TSpecData{0, 2}));  // 0.325 and 2.5
  shape->SetNormKind(4);  // factor 16
  Quantize(*shape, out);
  EXPECT_EQ(out, (TSpecData{21, 160}));  // 20.8
}

TEST(Quantize, ValuesBeyond32BitsAreReported) {
  auto shape = MakeShape(2, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double bad : {3e9, 2147483647.5, -2147483649.0, 1e300, nan}) {
    shape->Spectrum.assign(2, 0.0);
    shape->Spectrum[1] = bad;
    TSpecData out{7};
    EXPECT_THROW(Quantize(*shape, out), std::range_error) << bad;
    EXPECT_EQ(out, TSpecData{7});
  }
  try {
    TSpecData out;
    Quantize(*shape, out);
    ADD_FAILURE() << "no error reported";
  } catch (const std::range_error& error) {
    EXPECT_STREQ(error.what(), "Quantized spectrum value can't fit to 32 bits");
  }
  const std::vector<std::pair<double, int32_t>> fitting{
      {2147483647.4, INT32_MAX}, {-2147483648.0, INT32_MIN}, {-2147483648.5, INT32_MIN}};
  for (const auto& [good, expected] : fitting) {
    shape->Spectrum.assign(2, 0.0);
    shape->Spectrum[0] = good;
    TSpecData out;
    EXPECT_EQ(Quantize(*shape, out), 1);
    EXPECT_EQ(out, TSpecData{expected});
  }
}

TEST(Quantize, SpectrumNotCoveringTheWindowIsReported) {
  auto shape = MakeShape(4, 4);
  shape->Spectrum.assign(15, 1.0);
  TSpecData out{7};
  EXPECT_THROW(Quantize(*shape, out), std::range_error);
  EXPECT_EQ(out, TSpecData{7});
}

// ---------------------------------------------------------------------------
// LoadQuantized

TEST(LoadQuantized, SetsParametersAndPlacesValuesInZigzagOrder) {
  auto shape = MakeShape(4, 4);
  shape->PSNR = 31.5;
  shape->Iterations = 12;
  shape->Config = {1, 2};
  shape->Spectrum.assign(16, 9.0);
  const TSpecData values{7, -1, 0, 3};
  EXPECT_EQ(LoadQuantized(*shape, values.data(), values.size(), 2, 3, 0, 2), 0u);
  EXPECT_EQ(shape->ModuleCode, 2u);
  EXPECT_EQ(shape->TransCode, 3u);
  EXPECT_EQ(shape->Quality, 0);
  EXPECT_EQ(shape->NormKind, 2);
  ASSERT_EQ(shape->Spectrum.size(), 16u);
  EXPECT_EQ(Coefficient(*shape, 0, 0), 7.0);
  EXPECT_EQ(Coefficient(*shape, 0, 1), -1.0);
  EXPECT_EQ(Coefficient(*shape, 1, 0), 0.0);
  EXPECT_EQ(Coefficient(*shape, 2, 0), 3.0);
  double rest = 0;
  for (double c : shape->Spectrum) rest += std::fabs(c);
  EXPECT_EQ(rest, 11.0);
  EXPECT_EQ(shape->PSNR, 31.5);
  EXPECT_EQ(shape->Iterations, 12);
  EXPECT_EQ(shape->Config, (std::vector<uint8_t>{1, 2}));
}

TEST(LoadQuantized, DividesByTheNormalization) {
  auto shape = MakeShape(4, 4);
  const TSpecData values{5, -2};
  LoadQuantized(*shape, values.data(), values.size(), 1, 2, 0, 0);  // factor 4
  EXPECT_EQ(shape->NormKind, 0);
  EXPECT_EQ(shape->NormFactor, 4.0);
  EXPECT_EQ(Coefficient(*shape, 0, 0), 1.25);
  EXPECT_EQ(Coefficient(*shape, 0, 1), -0.5);
  LoadQuantized(*shape, values.data(), values.size(), 1, 2, 0, 9);  // unknown kind: 2
  EXPECT_EQ(shape->NormKind, 2);
  EXPECT_EQ(Coefficient(*shape, 0, 0), 5.0);
}

TEST(LoadQuantized, ValuesBeyondTheWindowAreIgnoredAndCounted) {
  auto shape = MakeShape(2, 2);
  const TSpecData values{1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(LoadQuantized(*shape, values.data(), values.size(), 1, 2, 0, 2), 3u);
  EXPECT_EQ(std::vector<double>(shape->Spectrum.begin(), shape->Spectrum.end()),
            (std::vector<double>{1, 3, 2, 4}));

  auto single = MakeShape(1, 1);
  EXPECT_EQ(LoadQuantized(*single, values.data(), values.size(), 1, 2, 0, 2), 6u);
  EXPECT_EQ(single->Spectrum.size(), 1u);
  EXPECT_EQ(single->Spectrum[0], 1.0);
}

TEST(LoadQuantized, NoValuesGiveAZeroSpectrum) {
  auto shape = MakeShape(8, 2);
  EXPECT_EQ(LoadQuantized(*shape, nullptr, 0, 1, 2, 0, 2), 0u);
  ASSERT_EQ(shape->Spectrum.size(), 16u);
  for (double c : shape->Spectrum) EXPECT_EQ(c, 0.0);
}

TEST(LoadQuantized, QuantizeGivesTheListBack) {
  std::mt19937 rng(8);
  for (auto [w, h] : {std::pair{8, 8}, std::pair{16, 4}, std::pair{1, 32}, std::pair{1, 1}})
    for (uint8_t kind = 0; kind < 5; ++kind) {
      auto shape = MakeShape(w, h);
      TSpecData values(size_t(w * h) / 2 + 1);
      for (int32_t& v : values) v = int32_t(rng() % 2001) - 1000;
      values.back() = 17;
      LoadQuantized(*shape, values.data(), values.size(), 1, 2, 0, kind);
      TSpecData again;
      EXPECT_EQ(Quantize(*shape, again), int(values.size()));
      EXPECT_EQ(again, values) << w << "x" << h << " kind " << int(kind);
    }
}

// ---------------------------------------------------------------------------
// Quantization steps of a transformation

class QuantizationWithSteps : public ::testing::Test {
 protected:
  QuantizationWithSteps() : registry_("/nonexistent-module-directory/") { registry_.LoadModules(); }

  static double DctStep(int u, int v, int w, int h, double scale) {
    return DctIIDescriptor()->QuantWeight(uint32_t(u), uint32_t(v), uint32_t(w), uint32_t(h)) *
           scale;
  }

  TModuleRegistry registry_;
};

TEST_F(QuantizationWithSteps, QuantizeDividesByTheTransformationsSteps) {
  auto shape = MakeShape(8, 8);
  shape->ModuleCode = kInternalModuleCode;
  shape->TransCode = kDctTransCode;
  shape->SetQuality(75);  // scale 0.5
  shape->Spectrum.assign(64, 0.0);
  const std::vector<TZigzagPoint> order = ZigzagOrder(8, 8);
  TSpecData expected;
  for (size_t i = 0; i < 20; ++i) {
    const double c = (i % 2 ? -1 : 1) * (13.7 * double(i) + 41.3);
    SetCoefficient(*shape, order[i].U, order[i].V, c);
    expected.push_back(int32_t(std::nearbyint(c / DctStep(order[i].U, order[i].V, 8, 8, 0.5))));
  }
  TSpecData out;
  EXPECT_EQ(Quantize(*shape, out), 20);
  EXPECT_EQ(out, expected);
}

TEST_F(QuantizationWithSteps, LoadingUsesTheTransformationNamedInTheFile) {
  auto shape = MakeShape(8, 8);
  const TSpecData values{12, -5, 3};
  // Coded with DCT II before: its descriptor is held by the shape.
  LoadQuantized(*shape, values.data(), values.size(), kInternalModuleCode, kDctTransCode, 50, 2);
  EXPECT_EQ(Coefficient(*shape, 0, 0), DctStep(0, 0, 8, 8, 1.0) * 12);
  EXPECT_EQ(Coefficient(*shape, 0, 1), DctStep(0, 1, 8, 8, 1.0) * -5);
  ASSERT_NE(shape->Descriptor, nullptr);

  // The FFT has no weights: the steps are 1.
  LoadQuantized(*shape, values.data(), values.size(), kInternalModuleCode, kFftTransCode, 50, 2);
  EXPECT_EQ(shape->TransCode, uint32_t(kFftTransCode));
  EXPECT_EQ(Coefficient(*shape, 0, 0), 12.0);
  EXPECT_EQ(Coefficient(*shape, 0, 1), -5.0);
  EXPECT_EQ(Coefficient(*shape, 1, 0), 3.0);

  LoadQuantized(*shape, values.data(), values.size(), kInternalModuleCode, kDctTransCode, 10, 2);
  EXPECT_EQ(Coefficient(*shape, 1, 0), DctStep(1, 0, 8, 8, 5.0) * 3);
  TSpecData again;
  Quantize(*shape, again);
  EXPECT_EQ(again, values);
}

}  // namespace
}  // namespace tvlc
