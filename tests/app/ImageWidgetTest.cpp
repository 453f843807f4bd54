// Views: model images in Qt, the overlay whose white lets the image beneath
// show, mouse press and click, and the thirds of the view row.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ImageWidget.h"
#include "ViewPanel.h"

namespace tvlc::test {
namespace {

TEST(ToQImageTest, KeepsColourValuesAndMakesWhiteTransparentOnlyWhenAsked) {
  TImage image(2, 1, kWhite);
  image.SetPixel(0, 0, RGB(10, 20, 30));
  const QImage plain = ToQImage(image);
  EXPECT_EQ(plain.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(plain.pixel(1, 0), qRgb(255, 255, 255));
  const QImage overlay = ToQImage(image, true);
  EXPECT_EQ(overlay.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(qAlpha(overlay.pixel(1, 0)), 0);
}

TEST(ToQImageTest, ReadsIndexedImagesThroughTheirPalette) {
  const TImage image(2, 1, {Grey(7), RGB(0, 0, 200)}, {1, 0});
  const QImage shown = ToQImage(image);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 200));
  EXPECT_EQ(shown.pixel(1, 0), qRgb(7, 7, 7));
}

TEST(FittedRectTest, KeepsProportionsCentredInTheArea) {
  // Wider area: bands left and right; taller area: above and below.
  EXPECT_EQ(FittedRect(QSize(64, 48), QRect(0, 0, 200, 60)), QRect(60, 0, 80, 60));
  EXPECT_EQ(FittedRect(QSize(64, 48), QRect(10, 20, 64, 100)), QRect(10, 46, 64, 48));
  // Enlarged as well as reduced.
  EXPECT_EQ(FittedRect(QSize(2, 1), QRect(0, 0, 300, 300)), QRect(0, 75, 300, 150));
  EXPECT_TRUE(FittedRect(QSize(), QRect(0, 0, 10, 10)).isEmpty());
  EXPECT_TRUE(FittedRect(QSize(4, 4), QRect()).isEmpty());
}

TEST(ImageWidgetTest, DrawsTheImageInItsProportionsOnTheBackground) {
  TImageWidget widget;
  widget.resize(90, 30);
  widget.SetImage(TImage(2, 2, Grey(40)));
  EXPECT_EQ(widget.PictureRect(), QRect(30, 0, 30, 30));
  const QImage shot = widget.grab().toImage();
  EXPECT_EQ(shot.pixel(45, 15), qRgb(40, 40, 40));
  EXPECT_EQ(QColor(shot.pixel(10, 15)), widget.palette().window().color());
  EXPECT_EQ(QColor(shot.pixel(80, 15)), widget.palette().window().color());
}

TEST(ToQImageTest, TakesAByteAPixelUpTo256ColoursAndFourBeyond) {
  TImage image(300, 200, kWhite);
  for (int x = 0; x < 255; ++x) image.SetPixel(x, 7, Grey(uint8_t(x)));
  const QImage few = ToQImage(image, true);
  EXPECT_EQ(few.format(), QImage::Format_Indexed8);
  EXPECT_EQ(few.sizeInBytes(), 300 * 200);
  EXPECT_EQ(few.pixel(9, 7), qRgb(9, 9, 9));
  EXPECT_EQ(qAlpha(few.pixel(299, 7)), 0);

  image.SetPixel(299, 199, RGB(1, 2, 3));  // the 257th colour
  const QImage many = ToQImage(image, true);
  EXPECT_EQ(many.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(many.pixel(9, 7), qRgb(9, 9, 9));
  EXPECT_EQ(many.pixel(299, 199), qRgb(1, 2, 3));
  EXPECT_EQ(qAlpha(many.pixel(0, 0)), 0);
}

TEST(OverlaidViewTest, OverlayCoversTheImageOnlyWhereItIsNotWhite) {
  TOverlaidView view("Base", "Top");
  view.resize(40, 40);
  TImage overlay(2, 2, kWhite);
  overlay.SetPixel(1, 0, RGB(255, 0, 0));
  view.SetImages(TImage(2, 2, Grey(100)), overlay);
  const QImage shot = view.grab().toImage();
  EXPECT_EQ(shot.pixel(30, 10), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(10, 10), qRgb(100, 100, 100));
  EXPECT_EQ(shot.pixel(10, 30), qRgb(100, 100, 100));
  EXPECT_EQ(shot.pixel(30, 30), qRgb(100, 100, 100));
}

TEST(OverlaidViewTest, OverlayTakesTheMouseAndReportsPressAndClick) {
  TOverlaidView view("Base", "Top");
  view.resize(50, 30);
  view.show();
  QSignalSpy pressed(&view.Overlay(), &TImageWidget::Pressed);
  QSignalSpy clicked(&view.Overlay(), &TImageWidget::Clicked);
  QTest::mouseClick(&view.Overlay(), Qt::LeftButton, {}, QPoint(12, 7));
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.at(0).at(0).toPoint(), QPoint(12, 7));
  EXPECT_EQ(clicked.count(), 1);

  QTest::mousePress(&view.Overlay(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(&view.Overlay(), Qt::LeftButton, {}, QPoint(60, 5));
  EXPECT_EQ(pressed.count(), 2);
  EXPECT_EQ(clicked.count(), 1);

  QTest::mouseClick(&view.Overlay(), Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(pressed.count(), 3);
  EXPECT_EQ(clicked.count(), 1);
}

TEST(ViewPanelTest, FirstTwoGetAThirdEachAndTheLastTheRest) {
  auto* a = new QWidget;
  auto* b = new QWidget;
  auto* c = new QWidget;
  TViewPanel panel(a, b, c);
  panel.resize(100, 40);
  panel.show();
  EXPECT_EQ(a->geometry(), QRect(0, 0, 33, 40));
  EXPECT_EQ(b->geometry(), QRect(33, 0, 33, 40));
  EXPECT_EQ(c->geometry(), QRect(66, 0, 34, 40));
}

}  // namespace
}  // namespace tvlc::test
