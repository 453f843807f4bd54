// File > Global statistics: the "Statistics" dialog with the core's lines.
#include <QListWidget>
#include <QPushButton>

#include "MainFormFixture.h"
#include "Stats.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(MainFormTest, StatisticsWithoutAPictureOnlyLogs) {
  bool shown = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      shown = true;
      dialog->reject();
    }
  });
  Trigger("Globalstatistics1");
  QApplication::processEvents();
  EXPECT_FALSE(shown);
  EXPECT_EQ(LogMessages(), Lines({"Error: No picture data available", ""}));
}

TEST_F(MainFormTest, StatisticsDialogListsTheLinesAndCloses) {
  LoadSmallInputs();
  Trigger("ClearLog1");
  const Lines expected = frm_->Core().Globalstatistics1Click();
  ASSERT_EQ(expected.size(), 7u);
  bool seen = false;
  WhenModal<TStatForm>([&](TStatForm& form) {
    seen = true;
    EXPECT_EQ(form.windowTitle(), "Statistics");
    EXPECT_EQ(form.size(), QSize(309, 176));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const QRect owner = frm_->frameGeometry();
    EXPECT_EQ(form.x(), owner.x() + (owner.width() - form.width()) / 2);
    EXPECT_EQ(form.y(), owner.y() + (owner.height() - form.height()) / 2);

    auto* list = form.findChild<QListWidget*>("StatList");
    ASSERT_NE(list, nullptr);
    Lines shown;
    for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.at(0), "Picture size: 64x48");
    EXPECT_EQ(shown.at(1), "Pixels in picture: 3072");
    EXPECT_NE(shown.at(2).find("\t (Slack: "), std::string::npos);
    EXPECT_NE(shown.at(3).find("\t (Slack: "), std::string::npos);
    // The list fills the dialog above the panel with the button.
    auto* close = form.findChild<QPushButton*>("Button1");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(list->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(list->width(), 309);
    EXPECT_LT(list->geometry().bottom(), close->mapTo(&form, QPoint(0, 0)).y());
    EXPECT_EQ(close->text(), "&Close");
    close->click();
  });
  Trigger("Globalstatistics1");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(frm_->findChildren<TStatForm*>().isEmpty());
  EXPECT_TRUE(LogMessages().empty());
}

}  // namespace
}  // namespace tvlc::test

namespace tvlc::test {
namespace {

// The rightmost column of the list's viewport that a line's text reaches.
int RightmostInk(QListWidget& list) {
  const QImage image = list.viewport()->grab().toImage();
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int rightmost = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) rightmost = std::max(rightmost, x);
  return rightmost;
}

// Six-digit counts, as a 512 x 512 picture gives.
TEST(StatFormLayoutTest, SlackFitsBesideTheCounts) {
  TStatForm form({"Picture size: 512x512", "Pixels in picture: 262144",
                  "Pixels in shape windows: 412160\t (Slack: 36.40%)",
                  "Total pixels processed: 625664\t (Slack: 58.13%)"});
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto* list = form.findChild<QListWidget*>("StatList");
  ASSERT_NE(list, nullptr);
  list->clearSelection();
  list->setCurrentRow(-1);
  const int rightmost = RightmostInk(*list);
  EXPECT_GT(rightmost, list->viewport()->width() / 2);  // the text was drawn
  EXPECT_LT(rightmost, list->viewport()->width() - 4);
}

}  // namespace
}  // namespace tvlc::test
