#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "transform/Complex.h"

namespace tvlc {
namespace {

TEST(ComplexTest, SumDifferenceProduct) {
  const TComplex a{1.5, -2.0}, b{-0.25, 3.0};
  const TComplex sum = a + b, difference = a - b, product = a * b;
  EXPECT_EQ(sum.Re, 1.25);
  EXPECT_EQ(sum.Im, 1.0);
  EXPECT_EQ(difference.Re, 1.75);
  EXPECT_EQ(difference.Im, -5.0);
  EXPECT_EQ(product.Re, 1.5 * -0.25 - -2.0 * 3.0);
  EXPECT_EQ(product.Im, 1.5 * 3.0 + -0.25 * -2.0);
}

TEST(ComplexTest, ProductOfUnitComplexesAddsAngles) {
  const TComplex z = UnitComplex(0.3) * UnitComplex(1.1);
  EXPECT_NEAR(z.Re, std::cos(1.4), 1e-15);
  EXPECT_NEAR(z.Im, std::sin(1.4), 1e-15);
  const TComplex i = UnitComplex(std::numbers::pi / 2);
  const TComplex minusOne = i * i;
  EXPECT_NEAR(minusOne.Re, -1.0, 1e-15);
  EXPECT_NEAR(minusOne.Im, 0.0, 1e-15);
}

TEST(ComplexTest, Conjugate) {
  const TComplex z = Conj(TComplex{2.0, 5.0});
  EXPECT_EQ(z.Re, 2.0);
  EXPECT_EQ(z.Im, -5.0);
}

}  // namespace
}  // namespace tvlc
