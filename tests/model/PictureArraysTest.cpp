#include <gtest/gtest.h>

#include "model/PictureArrays.h"

namespace tvlc {
namespace {

TEST(PictureArrays, GreyLevelsAndLabelsRowByRow) {
  TImage image(2, 2, {Grey(7), RGB(1, 2, 3)}, {0, 1, 1, 0});
  EXPECT_EQ(*RedLevels(image), (std::vector<uint8_t>{7, 1, 1, 7}));
  const int32_t c = int32_t(RGB(1, 2, 3));
  EXPECT_EQ(*ColorLabels(image), (std::vector<int32_t>{7 * 65793, c, c, 7 * 65793}));
  EXPECT_FALSE(IsGrey(image));
  EXPECT_TRUE(IsGrey(TImage(3, 1, {Grey(0), Grey(9)}, {0, 1, 0})));
  // An unused colour in the palette does not matter.
  EXPECT_TRUE(IsGrey(TImage(1, 1, {Grey(5), RGB(255, 0, 0)}, {0})));
}

}  // namespace
}  // namespace tvlc
