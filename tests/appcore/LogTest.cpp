#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "appcore/Log.h"

namespace tvlc {
namespace {

TEST(Log, StampsEveryMessageAndSplitsLineBreaks) {
  TLog log;
  log.Add("09:05:03", "Shape 'Shape 01' selected\r\n...analyzing it");
  log.Add("09:05:04", "Done.\r\n");
  const std::vector<std::string> expected = {"[09:05:03] Shape 'Shape 01' selected",
                                             "...analyzing it", "[09:05:04] Done.", ""};
  EXPECT_EQ(log.Lines(), expected);
}

TEST(Log, TimeTextIsCutToFifteenCharacters) {
  TLog log;
  log.Add("0123456789ABCDEFGH", "x");
  EXPECT_EQ(log.Lines().at(0), "[0123456789ABCDE] x");
}

TEST(Log, FullLogIsClearedBeforeTheNewLine) {
  TLog log(3);
  log.Add("t", "a");
  log.Add("t", "b");
  log.Add("t", "c");
  ASSERT_EQ(log.Lines().size(), 3u);
  log.Add("t", "d");
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"[t] d"});
}

TEST(Log, SavedWithCrLfLineEnds) {
  TLog log;
  log.Add("t", "a\r\n");
  log.Add("t", "b");
  const auto path = std::filesystem::temp_directory_path() / "tvlc-log-test.log";
  log.SaveToFile(path.string());
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "[t] a\r\n\r\n[t] b\r\n");
  std::filesystem::remove(path);
}

TEST(Log, LongTimeTextOfADayFraction) {
  EXPECT_EQ(LongTimeText(0.5), "12:00:00");
  EXPECT_EQ(LongTimeText((13 * 3600 + 4 * 60 + 5.9) / 86400.0), "13:04:05");
  EXPECT_EQ(LongTimeText(0.0), "00:00:00");
}

}  // namespace
}  // namespace tvlc
