// The comparison dock: shown from the status bar, whole picture first, zoom
// by the wheel and the zoom choice, pan by dragging, sharp pixels, the
// difference and its scale, the pixel under the pointer, following a shape.
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QToolButton>
#include <QWheelEvent>

#include "ComparisonView.h"
#include "ImageWidget.h"
#include "MainFormCodingFixture.h"
#include "appcore/Comparison.h"

namespace tvlc::test {
namespace {

class ComparisonDockTest : public MainFormCodingTest {
 protected:
  void SetUp() override {
    MainFormCodingTest::SetUp();
    frm_->resize(1366, 768);
    Find<QToolButton>("CompareBtn")->click();
    QApplication::processEvents();
    view_ = Find<TComparisonView>("CompareView");
  }

  void Wheel(QPoint at, int notches) {
    QWheelEvent event(at, view_->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view_, &event);
  }
  void Move(QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, at, view_->mapToGlobal(at), Qt::NoButton, buttons, {});
    QApplication::sendEvent(view_, &event);
  }
  void ChooseZoom(const char* text) {
    auto* zoom = Find<QComboBox>("CompareZoom");
    zoom->setCurrentIndex(zoom->findText(text));
    emit zoom->activated(zoom->currentIndex());
  }
  void ChooseSource(const char* text) {
    auto* source = Find<QComboBox>("CompareSource");
    source->setCurrentIndex(source->findText(text));
  }

  TComparisonView* view_ = nullptr;
};

TEST_F(ComparisonDockTest, OpensFromTheStatusBarOnTheWholePicture) {
  auto* dock = Find<QDockWidget>("CompareDock");
  EXPECT_TRUE(dock->isVisible());
  EXPECT_FALSE(dock->isFloating());
  EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetFloatable);
  EXPECT_EQ(frm_->dockWidgetArea(dock), Qt::RightDockWidgetArea);
  EXPECT_TRUE(view_->Fitted());
  EXPECT_EQ(view_->Image(), ToQImage(Core().Picture));
  EXPECT_EQ(Find<QComboBox>("CompareZoom")->currentText(), "Fit");
  // The whole picture, centred, as large as the view allows.
  const QPointF corner = view_->WidgetPoint(QPointF(64, 48));
  const QPointF origin = view_->WidgetPoint(QPointF(0, 0));
  EXPECT_TRUE(std::abs(corner.x() - origin.x() - view_->width()) < 1.0 ||
              std::abs(corner.y() - origin.y() - view_->height()) < 1.0);
  Find<QToolButton>("CompareBtn")->click();
  EXPECT_FALSE(dock->isVisible());
}

TEST_F(ComparisonDockTest, TheWheelZoomsAboutThePointerUpTo16x) {
  ASSERT_TRUE(view_->Fitted());
  const double fit = view_->Zoom();
  // Away from the edges, where the view stops at the picture's border.
  const QPoint at = view_->WidgetPoint(QPointF(30, 22)).toPoint();
  // Each notch goes to the next level above the present zoom.
  for (double level : TComparisonView::kLevels) {
    if (level <= fit) continue;
    const QPointF held = view_->PicturePoint(at);
    Wheel(at, 1);
    EXPECT_EQ(view_->Zoom(), level);
    EXPECT_FALSE(view_->Fitted());
    EXPECT_EQ(Find<QComboBox>("CompareZoom")->currentText(), QString("%1x").arg(level));
    // The picture point under the pointer stays under it, to a screen pixel,
    // where the picture is larger than the view; where it is smaller it stays
    // centred.
    const QPointF now = view_->PicturePoint(at);
    if (64 * level > view_->width())
      EXPECT_NEAR(now.x(), held.x(), 1.0 / level);
    else
      EXPECT_NEAR(view_->WidgetPoint(QPointF(32, 24)).x(), view_->width() / 2.0, 1.0);
    if (48 * level > view_->height())
      EXPECT_NEAR(now.y(), held.y(), 1.0 / level);
    else
      EXPECT_NEAR(view_->WidgetPoint(QPointF(32, 24)).y(), view_->height() / 2.0, 1.0);
  }
  EXPECT_EQ(view_->Zoom(), 16.0);
  Wheel(at, 3);
  EXPECT_EQ(view_->Zoom(), 16.0);
  Wheel(at, -10);
  EXPECT_TRUE(view_->Fitted());
  EXPECT_EQ(view_->Zoom(), fit);
  EXPECT_EQ(Find<QComboBox>("CompareZoom")->currentText(), "Fit");
  // The zoom choice sets a level directly.
  ChooseZoom("1x");
  EXPECT_EQ(view_->Zoom(), 1.0);
  ChooseZoom("Fit");
  EXPECT_TRUE(view_->Fitted());
}

TEST_F(ComparisonDockTest, DraggingPansAndZoomedPixelsAreSharpSquares) {
  ChooseZoom("16x");
  ASSERT_EQ(view_->Zoom(), 16.0);
  const QPoint start = view_->rect().center();
  const QPointF before = view_->PicturePoint(start);
  QTest::mousePress(view_, Qt::LeftButton, {}, start);
  Move(start + QPoint(-40, -24), Qt::LeftButton);
  QTest::mouseRelease(view_, Qt::LeftButton, {}, start + QPoint(-40, -24));
  EXPECT_NEAR(view_->PicturePoint(start).x(), before.x() + 40 / 16.0, 1e-9);
  EXPECT_NEAR(view_->PicturePoint(start).y(), before.y() + 24 / 16.0, 1e-9);
  // Panning stops at the picture's edge.
  QTest::mousePress(view_, Qt::LeftButton, {}, start);
  Move(start + QPoint(5000, 5000), Qt::LeftButton);
  QTest::mouseRelease(view_, Qt::LeftButton, {}, start);
  EXPECT_EQ(view_->WidgetPoint(QPointF(0, 0)), QPointF(0, 0));

  // Every picture pixel is a 16 x 16 block of its own grey level.
  const QImage shot = view_->grab().toImage();
  const QImage& picture = view_->Image();
  for (int py = 0; py < 3; ++py)
    for (int px = 0; px < 3; ++px)
      for (int dy = 0; dy < 16; dy += 5)
        for (int dx = 0; dx < 16; dx += 5)
          ASSERT_EQ(shot.pixel(16 * px + dx, 16 * py + dy), picture.pixel(px, py))
              << px << "," << py;
}

TEST_F(ComparisonDockTest, DifferenceShowsDecodedMinusInputWithItsScale) {
  SelectShape(2);
  Click("EncBtn");
  Click("DecodeBtn");
  ChooseSource("Difference");
  const TDifference d = DecodedMinusInput(Core());
  EXPECT_EQ(view_->Image(), ToQImage(DifferenceImage(d)));
  auto* scale = Find<QLabel>("CompareScale");
  EXPECT_EQ(scale->text(), QString("Decoded minus input: black -%1, mid-grey 0, white +%1 "
                                   "grey levels; blue where nothing is decoded yet")
                               .arg(d.Scale));
  // A decoded pixel with no error is mid-grey, one not decoded is marked.
  int x0 = -1, y0 = -1;
  for (int y = 0; y < 48 && x0 < 0; ++y)
    for (int x = 0; x < 64 && x0 < 0; ++x)
      if (d.Has(x, y) && d.At(x, y) == 0) x0 = x, y0 = y;
  if (x0 >= 0) EXPECT_EQ(view_->Image().pixel(x0, y0), qRgb(128, 128, 128));
  EXPECT_EQ(view_->Image().pixel(63, 47), ToQImage(TImage(1, 1, kNotDecoded)).pixel(0, 0));
  ChooseSource("Input picture");
  EXPECT_EQ(scale->text(), "Input picture");
  ChooseSource("Decoded picture");
  EXPECT_EQ(view_->Image(), ToQImage(Core().Reconst));
}

TEST_F(ComparisonDockTest, SwitchingWhatIsShownKeepsZoomAndPlaceAlsoWhenFloating) {
  ChooseZoom("8x");
  const QPointF corner = view_->WidgetPoint(QPointF(0, 0));
  ChooseSource("Map over input");
  EXPECT_EQ(view_->Zoom(), 8.0);
  EXPECT_EQ(view_->WidgetPoint(QPointF(0, 0)), corner);
  EXPECT_EQ(view_->Image(), ToQImage(MapOverInput(Core())));
  ChooseSource("Difference");
  EXPECT_EQ(view_->WidgetPoint(QPointF(0, 0)), corner);
  ChooseSource("Input picture");
  EXPECT_EQ(view_->WidgetPoint(QPointF(0, 0)), corner);

  auto* dock = Find<QDockWidget>("CompareDock");
  dock->setFloating(true);
  dock->resize(700, 600);
  QApplication::processEvents();
  EXPECT_TRUE(dock->isFloating());
  EXPECT_EQ(view_->Zoom(), 8.0);
  ChooseZoom("Fit");
  EXPECT_TRUE(view_->Fitted());
}

TEST_F(ComparisonDockTest, TheStatusBarNamesThePixelUnderThePointer) {
  SelectShape(0);
  Click("EncBtn");
  Click("DecodeBtn");
  auto* info = Find<QLabel>("PixelInfo");
  const QPoint at = view_->WidgetPoint(QPointF(1.5, 1.5)).toPoint();
  Move(at, Qt::NoButton);
  EXPECT_EQ(info->text().toStdString(), DescribePixel(Core(), 1, 1));
  EXPECT_NE(info->text().indexOf("decoded"), -1);
  Move(QPoint(-5, -5), Qt::NoButton);
  EXPECT_EQ(info->text(), "");
}

TEST_F(ComparisonDockTest, FollowsTheSelectedShapeOnRequest) {
  SelectShape(3);
  EXPECT_TRUE(view_->Fitted());  // not asked to follow yet
  Find<QCheckBox>("CompareFollow")->click();
  const TShape& shape = *Core().SelectedShape;
  // The shape's box is inside the view and fills it in one direction.
  auto check = [&](const TShape& s) {
    const QPointF a = view_->WidgetPoint(QPointF(s.Left, s.Top));
    const QPointF b = view_->WidgetPoint(QPointF(s.Left + s.BoxWidth(), s.Top + s.BoxHeight()));
    EXPECT_GE(a.x(), -0.5);
    EXPECT_GE(a.y(), -0.5);
    EXPECT_LE(b.x(), view_->width() + 0.5);
    EXPECT_LE(b.y(), view_->height() + 0.5);
    EXPECT_TRUE(b.x() - a.x() >= view_->width() - 1.0 || b.y() - a.y() >= view_->height() - 1.0 ||
                view_->Zoom() == TComparisonView::kMaxZoom);
  };
  check(shape);
  SelectShape(7);
  check(*Core().SelectedShape);
}

}  // namespace
}  // namespace tvlc::test
