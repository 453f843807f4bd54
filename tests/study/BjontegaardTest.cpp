#include <gtest/gtest.h>

#include "study/Bjontegaard.h"

namespace tvlc {
namespace {

// The example data published with a widely used BD-rate reference (the
// FAU-LMS "bjontegaard" package, example_usage.py, test cases 1 and 3:
// HEVC encodes with different presets). Its documentation prints no PCHIP
// figures, so the expected values were computed independently: the same
// interpolant sampled at 200000 points and integrated by Simpson's rule.
std::vector<TRdSample> Curve(std::vector<double> rates, std::vector<double> psnrs) {
  std::vector<TRdSample> curve;
  for (size_t i = 0; i < rates.size(); ++i) curve.push_back({rates[i], psnrs[i]});
  return curve;
}

TEST(Bjontegaard, PublishedExampleOfFourPoints) {
  const auto anchor = Curve({9487.76, 4593.60, 2486.44, 1358.24}, {40.037, 38.615, 36.845, 34.851});
  const auto test = Curve({9787.80, 4469.00, 2451.52, 1356.24}, {40.121, 38.651, 36.970, 34.987});
  EXPECT_NEAR(*BdRate(anchor, test), -4.4174853506, 1e-7);
  EXPECT_NEAR(*BdPsnr(anchor, test), 0.1196927854, 1e-8);
}

TEST(Bjontegaard, PublishedExampleOfSixPoints) {
  const auto anchor = Curve({82472.76, 26875.24, 9487.76, 4593.6, 3600, 2900},
                            {43.825, 41.404, 40.037, 38.615, 36.5, 35.1});
  const auto test = Curve({99896.96, 33952.04, 9787.8, 4469.0, 4040, 3300},
                          {44.731, 41.875, 40.121, 38.651, 37, 36.5});
  EXPECT_NEAR(*BdRate(anchor, test), -2.9528024116, 1e-7);
  EXPECT_NEAR(*BdPsnr(anchor, test), 0.0895359020, 1e-8);
}

TEST(Bjontegaard, ScaledRatesAndShiftedQualityGiveExactDeltas) {
  // Whatever the interpolation, 10 % fewer bits at every quality is a
  // BD-rate of -10 %, and 0.5 dB more at every rate a BD-PSNR of 0.5 dB.
  const auto anchor = Curve({0.1, 0.25, 0.4, 0.8, 1.5}, {24.0, 27.5, 29.0, 32.5, 36.0});
  std::vector<TRdSample> cheaper = anchor, better = anchor;
  for (TRdSample& s : cheaper) s.Rate *= 0.9;
  for (TRdSample& s : better) s.Psnr += 0.5;
  EXPECT_NEAR(*BdRate(anchor, cheaper), -10.0, 1e-9);
  EXPECT_NEAR(*BdPsnr(anchor, better), 0.5, 1e-12);
  EXPECT_NEAR(*BdRate(anchor, anchor), 0.0, 1e-12);
  // Listed in any order, the curves are the same.
  std::vector<TRdSample> shuffled = {cheaper[3], cheaper[0], cheaper[4], cheaper[2], cheaper[1]};
  EXPECT_NEAR(*BdRate(anchor, shuffled), -10.0, 1e-9);
}

TEST(Bjontegaard, CurvesThatCannotBeComparedHaveNone) {
  const auto anchor = Curve({0.1, 0.2, 0.4}, {25.0, 28.0, 30.0});
  EXPECT_FALSE(BdRate(anchor, Curve({0.5}, {31.0})));                   // one point
  EXPECT_FALSE(BdRate(anchor, Curve({1.0, 2.0}, {35.0, 40.0})));        // no common quality
  EXPECT_FALSE(BdPsnr(anchor, Curve({1.0, 2.0}, {35.0, 40.0})));        // no common rate
  EXPECT_FALSE(BdRate(anchor, Curve({0.0, 0.2}, {25.0, 29.0})));        // rate 0
  EXPECT_FALSE(BdRate(Curve({}, {}), anchor));
}

TEST(Bjontegaard, IntegralOfStraightDataIsTheTrapezoid) {
  // Collinear points make every slope the line's, so the cubic is the line.
  const std::vector<double> x = {0.0, 1.0, 3.0, 4.0}, y = {1.0, 3.0, 7.0, 9.0};
  EXPECT_NEAR(PchipIntegral(x, y, 0.5, 3.5), (2.0 + 8.0) / 2.0 * 3.0, 1e-12);
  // A monotone interpolant of monotone data stays within the data.
  const std::vector<double> steps = {0.0, 1.0, 2.0, 3.0}, levels = {0.0, 0.0, 1.0, 1.0};
  const double area = PchipIntegral(steps, levels, 0.0, 3.0);
  EXPECT_NEAR(area, 1.5, 1e-12);  // symmetric about the middle
  EXPECT_NEAR(PchipIntegral(steps, levels, 0.0, 1.0), 0.0, 1e-12);
}

}  // namespace
}  // namespace tvlc
