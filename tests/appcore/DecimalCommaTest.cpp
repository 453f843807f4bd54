// The window adopts the user's locale; every number the core writes for it
// keeps its decimal point all the same.
#include <regex>

#include "CoreFixture.h"
#include "base/CommaLocale.h"

namespace tvlc::testing {
namespace {

using DecimalCommaTest = LoadedCoreTest;

// The texts with numbers that the coding commands leave behind.
struct TNumberTexts {
  std::vector<std::string> Labels;
  std::vector<std::string> Statistics;
  bool operator==(const TNumberTexts&) const = default;
};

TNumberTexts Texts(TMainCore& core) {
  core.ShowShBtnClick(1);
  const TInfoTexts& i = core.Info;
  return {{i.SlackLab, i.TSLab, i.CurrPSNRLab, core.Controls.PSNRLab},
          core.Globalstatistics1Click()};
}

TEST_F(DecimalCommaTest, LabelsLogAndStatisticsKeepTheDecimalPoint) {
  TNumberTexts underComma;
  std::vector<std::string> log;
  {
    TCommaLocale comma;
    ASSERT_COMMA_LOCALE();
    core.Controls.ReqPSNRText = "27.5";  // typed with a point, whatever the locale
    core.EncAllBtnClick();
    core.DecAllBtnClick();
    core.ShowShBtnClick(1);
    core.ContEncChckClick(true);
    core.Controls.ReqPSNRText = "31.25";
    const size_t mark = core.Log.Lines().size();
    core.EncBtnClick();
    log = LinesSince(mark);
    underComma = Texts(core);
  }
  ASSERT_GE(core.Shapes[1].Shape->PSNR, 31.25);
  ASSERT_GE(log.size(), 3u);
  EXPECT_TRUE(std::regex_match(
      log[2],
      std::regex(
          R"(\[12:00:00\] \.\.\.continue transforming from \d+\. iteration \[\d+\.\d\d dB\])")))
      << log[2];

  const std::regex number(R"(\d+\.\d\d( %)?)");
  for (const std::string& label : underComma.Labels)
    EXPECT_TRUE(std::regex_match(label, number)) << label;
  ASSERT_EQ(underComma.Statistics.size(), 7u);
  EXPECT_TRUE(std::regex_match(underComma.Statistics[2], std::regex(R"(.*\(Slack: \d+\.\d\d%\))")))
      << underComma.Statistics[2];
  EXPECT_TRUE(
      std::regex_match(underComma.Statistics[4], std::regex(R"(PSNR average \[dB\]: \d+\.\d\d)")))
      << underComma.Statistics[4];
  EXPECT_TRUE(
      std::regex_match(underComma.Statistics[5], std::regex(R"(Global PSNR \[dB\]: \d+\.\d\d)")))
      << underComma.Statistics[5];
  EXPECT_TRUE(std::regex_match(underComma.Statistics[6], std::regex(R"(Global SSIM: \d\.\d{4})")))
      << underComma.Statistics[6];
  // The same state gives the same texts in the "C" locale.
  EXPECT_EQ(Texts(core), underComma);
}

}  // namespace
}  // namespace tvlc::testing
