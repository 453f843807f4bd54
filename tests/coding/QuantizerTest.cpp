#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "coding/Quantizer.h"
#include "model/Shape.h"
#include "transform/InternalModule.h"
#include "transform/Registry.h"

namespace tvlc {
namespace {

TEST(Quantizer, RoundsHalvesToEven) {
  EXPECT_EQ(QuantizeCoefficient(2.5, 1.0, 1.0), 2);
  EXPECT_EQ(QuantizeCoefficient(3.5, 1.0, 1.0), 4);
  EXPECT_EQ(QuantizeCoefficient(-2.5, 1.0, 1.0), -2);
  EXPECT_EQ(QuantizeCoefficient(10.0, 4.0, 1.0), 2);   // 2.5
  EXPECT_EQ(QuantizeCoefficient(7.0, 2.0, 0.5), 2);    // 1.75
  EXPECT_DOUBLE_EQ(DequantizeCoefficient(3, 4.0, 0.5), 24.0);
}

TEST(Quantizer, SaturatesWhatInt64CannotHold) {
  EXPECT_EQ(QuantizeCoefficient(1e300, 1.0, 1.0), INT64_MAX);
  EXPECT_EQ(QuantizeCoefficient(-1e300, 1.0, 1.0), INT64_MIN);
  EXPECT_EQ(QuantizeCoefficient(std::numeric_limits<double>::quiet_NaN(), 1.0, 1.0), 0);
}

class QuantStepTest : public ::testing::Test {
 protected:
  TModuleRegistry registry{"/nonexistent-module-folder/"};
  void SetUp() override { registry.LoadModules(); }
  TShape Window16x8(uint32_t transCode) {
    TShape s(1, nullptr, 0, nullptr, 0, 0, 0);
    s.Right = 15;
    s.Bottom = 7;
    s.ModuleCode = 1;
    s.TransCode = transCode;
    return s;
  }
};

TEST_F(QuantStepTest, StepIsTheWeightTimesTheQualityScale) {
  TShape s = Window16x8(kDctTransCode);
  EXPECT_EQ(QuantStep(s, 1, 0), 1.0);  // not quantized
  s.SetQuality(25);                    // scale 2
  EXPECT_DOUBLE_EQ(QuantStep(s, 1, 0), 13.5 * 2.0);
  EXPECT_DOUBLE_EQ(QuantStep(s, 0, 0), 16.0 * 2.0);
  s.SetQuality(40);
  s.SetQuality(0);
  EXPECT_EQ(QuantStep(s, 1, 0), 1.0);
}

TEST_F(QuantStepTest, TransformationWithoutWeightsOrUnknownGivesOne) {
  TShape fft = Window16x8(kFftTransCode);
  fft.SetQuality(50);
  EXPECT_EQ(QuantStep(fft, 3, 2), 1.0);
  TShape unknown = Window16x8(77);
  unknown.ModuleCode = 9;
  unknown.SetQuality(50);
  EXPECT_EQ(QuantStep(unknown, 0, 0), 1.0);
}

}  // namespace
}  // namespace tvlc
