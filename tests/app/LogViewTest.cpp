// The log control follows the core's lines: new lines are appended, a log
// that was cleared or replaced is shown afresh, and the last line stays in
// view.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "LogView.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

class LogViewTest : public ::testing::Test {
 protected:
  QPlainTextEdit edit_;
  TLogView view_{edit_};
};

TEST_F(LogViewTest, ShowsEveryLineIncludingEmptyOnes) {
  view_.Show({"[10:00:00] first", "", "[10:00:01] second"});
  EXPECT_EQ(edit_.toPlainText(), "[10:00:00] first\n\n[10:00:01] second");
  EXPECT_EQ(edit_.blockCount(), 3);
}

TEST_F(LogViewTest, GrowingLogIsAppendedToWhatIsShown) {
  view_.Show({"a", "b"});
  // A mark on the first shown line survives only if it is not shown afresh.
  edit_.document()->firstBlock().setUserState(42);
  view_.Show({"a", "b", "c", ""});
  EXPECT_EQ(edit_.toPlainText(), "a\nb\nc\n");
  EXPECT_EQ(edit_.document()->firstBlock().userState(), 42);
}

TEST_F(LogViewTest, ClearedLogEmptiesTheControl) {
  view_.Show({"a", "b"});
  view_.Show({});
  EXPECT_TRUE(edit_.toPlainText().isEmpty());
  view_.Show({"c"});
  EXPECT_EQ(edit_.toPlainText(), "c");
}

TEST_F(LogViewTest, LogClearedAndRefilledBetweenTwoLooksIsShownAfresh) {
  view_.Show({"a", "b"});
  view_.Show({"x", "y", "z"});
  EXPECT_EQ(edit_.toPlainText(), "x\ny\nz");
}

TEST_F(LogViewTest, KeepsTheLastLineInView) {
  edit_.resize(200, 80);
  edit_.show();
  Lines lines;
  for (int i = 0; i < 200; ++i) {
    lines.push_back("line " + std::to_string(i));
    view_.Show(lines);
  }
  QScrollBar* bar = edit_.verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
}

}  // namespace
}  // namespace tvlc::test
