#include <gtest/gtest.h>

#include <map>

#include "model/Bmp.h"
#include "model/PictureArrays.h"
#include "study/MapCost.h"

namespace tvlc {
namespace {

TEST(MapCost, FelzenszwalbMapCodesWithoutLossToItsPartition) {
  const TImage map = ReadBmpFile(std::string(TVLC_TEST_DATA) + "/maps/camera_64x48_felzenszwalb.bmp");
  const std::vector<int32_t> labels = *ColorLabels(map);
  const std::vector<uint8_t> coded = CodeMapLabels(labels, 64, 48);
  EXPECT_LT(coded.size(), labels.size() / 4);  // far below a byte a pixel
  int32_t width = 0, height = 0;
  const auto decoded = DecodeMapLabels(coded, width, height);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  // Same partition: two pixels share a label in one exactly when in the other.
  std::map<int32_t, int32_t> forward, backward;
  for (size_t p = 0; p < labels.size(); ++p) {
    EXPECT_EQ(forward.emplace(labels[p], (*decoded)[p]).first->second, (*decoded)[p]);
    EXPECT_EQ(backward.emplace((*decoded)[p], labels[p]).first->second, labels[p]);
  }
}

TEST(MapCost, LabelsAreNumberedInOrderOfAppearance) {
  // 3 x 2: A B A / C C B: A is 0, B 1, C 2; the scan codes 2 3 2 / 4 0 1.
  const std::vector<int32_t> labels = {70, 9, 70, 5, 5, 9};
  int32_t width = 0, height = 0;
  const auto decoded = DecodeMapLabels(CodeMapLabels(labels, 3, 2), width, height);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, (std::vector<int32_t>{0, 1, 0, 2, 2, 1}));
}

TEST(MapCost, BytesThatAreNoCodingAreRefused) {
  int32_t width = 0, height = 0;
  EXPECT_FALSE(DecodeMapLabels({}, width, height));
  EXPECT_FALSE(DecodeMapLabels({1, 2, 3, 4}, width, height));
  std::vector<uint8_t> cut = CodeMapLabels(std::vector<int32_t>(100, 1), 10, 10);
  cut.pop_back();
  EXPECT_FALSE(DecodeMapLabels(cut, width, height));
  EXPECT_EQ(width, 0);
}

}  // namespace
}  // namespace tvlc
