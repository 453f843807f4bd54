// Pictures and maps of the segmentation tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Bmp.h"
#include "model/PictureArrays.h"
#include "model/segmentation/LabelMap.h"

namespace tvlc::segtest {

struct TGreyPicture {
  std::vector<uint8_t> Levels;
  int32_t Width = 0, Height = 0;
};

inline std::string DataFile(const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/" + name;
}
inline std::string SampleFile(const std::string& name) {
  return std::string(TVLC_TEST_DATA) + "/../../samples/" + name;
}

inline TGreyPicture ReadPicture(const std::string& path) {
  const TImage image = ReadBmpFile(path);
  return {*RedLevels(image), image.Width(), image.Height()};
}

// The colour value of every pixel of a map file.
inline std::vector<int32_t> ReadMapLabels(const std::string& path) {
  return *ColorLabels(ReadBmpFile(path));
}

// Number of 4-connected pieces of every region of a label map.
inline std::vector<int> PiecesPerRegion(const TLabelMap& map) {
  std::vector<int> pieces(size_t(map.Count), 0);
  std::vector<char> seen(map.Labels.size(), 0);
  std::vector<size_t> stack;
  for (size_t start = 0; start < map.Labels.size(); ++start) {
    if (seen[start]) continue;
    const int32_t label = map.Labels[start];
    ++pieces[size_t(label)];
    seen[start] = 1;
    stack.assign(1, start);
    while (!stack.empty()) {
      const size_t p = stack.back();
      stack.pop_back();
      const int32_t x = int32_t(p % size_t(map.Width)), y = int32_t(p / size_t(map.Width));
      const int32_t dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
      for (int i = 0; i < 4; ++i) {
        const int32_t nx = x + dx[i], ny = y + dy[i];
        if (nx < 0 || ny < 0 || nx >= map.Width || ny >= map.Height) continue;
        const size_t q = size_t(ny) * size_t(map.Width) + size_t(nx);
        if (!seen[q] && map.Labels[q] == label) {
          seen[q] = 1;
          stack.push_back(q);
        }
      }
    }
  }
  return pieces;
}

// Checks that the regions are numbered 0 .. Count - 1 by first appearance.
inline void ExpectNumberedByFirstAppearance(const TLabelMap& map) {
  int32_t next = 0;
  for (int32_t label : map.Labels) {
    ASSERT_LE(label, next);
    if (label == next) ++next;
  }
  EXPECT_EQ(next, map.Count);
}

}  // namespace tvlc::segtest
