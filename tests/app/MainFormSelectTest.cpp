// Selecting a shape by the button, the menu, a double click in the list and a
// click on any of the three views; the Info tab it fills.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>
#include <optional>

#include "ImageWidget.h"
#include "MainFormFixture.h"
#include "model/Bmp.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kShape1Label = 16007998;  // box 0..32 x 0..47
constexpr uint32_t kShape2Label = 13905072;  // box 12..47 x 0..13

class MainFormSelectTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LoadSmallInputs();
    Trigger("ClearLog1");
  }

  QString Text(const char* label) { return Find<QLabel>(label)->text(); }

  void MarkRow(int row) { Find<QListWidget>("ShapeList")->setCurrentRow(row); }

  // A map pixel in the boxes of both shape 1 and shape 2 with the given label.
  std::optional<QPoint> PixelInBothBoxes(uint32_t label) {
    const TImage map = ReadBmpFile(kMap64);
    for (int y = 0; y <= 13; ++y)
      for (int x = 12; x <= 32; ++x)
        if (map.Pixel(x, y) == label) return QPoint(x, y);
    return std::nullopt;
  }

  // Clicks `overlay` where it shows map pixel `pixel`, through the rectangle
  // the picture is drawn in.
  void ClickAtMapPixel(const char* overlay, QPoint pixel) {
    auto* view = Find<TImageWidget>(overlay);
    const QRect shown = view->PictureRect();
    ASSERT_GT(shown.width(), 2 * 64);
    const QPoint at(shown.x() + int(std::lround(pixel.x() * shown.width() / 64.0)),
                    shown.y() + int(std::lround(pixel.y() * shown.height() / 48.0)));
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
  }
};

TEST_F(MainFormSelectTest, SelectShapeButtonSelectsTheMarkedItem) {
  MarkRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  EXPECT_EQ(LogMessages(), Lines({"Shape 'Shape AA04FF' selected", "...analyzing it",
                                  "...drawing boundaries", "...updating encoder input area",
                                  "...updating spectrum view for Shape AA04FF", "Done.", "",
                                  "Done.", ""}));
  EXPECT_EQ(Text("IDLab"), "11142399");
  EXPECT_EQ(Text("XLab"), "0");
  EXPECT_EQ(Text("YLab"), "0");
  EXPECT_EQ(Text("RWLab"), "5");
  EXPECT_EQ(Text("RHLab"), "9");
  EXPECT_EQ(Text("WLab"), "8");
  EXPECT_EQ(Text("HLab"), "16");
  EXPECT_EQ(Text("SlackLab"), "64.84 %");
  EXPECT_EQ(Text("PCLab"), "26");
  EXPECT_EQ(Text("TSLab"), "79.69 %");
  EXPECT_EQ(Text("SpecAvalLab"), "No");
  EXPECT_EQ(Text("IterDoneLab"), "0");
  EXPECT_EQ(Text("CurrPSNRLab"), "0.00");
  EXPECT_EQ(Text("QuantLab"), "Not quantized");
  EXPECT_EQ(Text("NormTypeLab"), "Orthonormal");
  EXPECT_EQ(Text("EncoderLab"), "<Codec not selected or found>");
  EXPECT_TRUE(Find<QCheckBox>("ContEncChck")->isHidden());
  EXPECT_TRUE(Find<QPushButton>("ShowShBtn")->isEnabled());
  EXPECT_TRUE(Find<QMenu>("File1")->menuAction()->isEnabled());
  EXPECT_TRUE(Find<QAction>("LoadMap1")->isEnabled());
}

TEST_F(MainFormSelectTest, SelectionShowsTheRoundedWindowAndTheOutline) {
  MarkRow(2);
  Find<QPushButton>("ShowShBtn")->click();
  EXPECT_EQ(Find<TImageWidget>("ViewDrawArea")->Shown().size(), QSize(64, 16));
  // The box's corner carries a frame on both overlays; far from the box they
  // stay clear.
  for (const char* overlay : {"PicDrawArea", "MapDrawArea"}) {
    const QImage& shown = Find<TImageWidget>(overlay)->Shown();
    EXPECT_EQ(qAlpha(shown.pixel(12, 0)), 255) << overlay;
    EXPECT_EQ(qAlpha(shown.pixel(5, 40)), 0) << overlay;
  }
}

TEST_F(MainFormSelectTest, SelectionShowsTheSpectrumAndCoefficientTabs) {
  MarkRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  auto* spectrum = Find<TImageWidget>("SpecDrawArea");
  EXPECT_EQ(spectrum->size(), QSize(8, 16));
  ASSERT_EQ(spectrum->Shown().size(), QSize(8, 16));
  EXPECT_EQ(spectrum->Shown().pixel(7, 15), qRgb(0, 0, 0));
  EXPECT_EQ(Text("ZeroLab"), "0");
  EXPECT_EQ(Text("NonZeroLab"), "0");
  EXPECT_EQ(Text("MinValLab"), "");
  EXPECT_EQ(Text("MaxValLab"), "");
  EXPECT_EQ(Find<QListWidget>("CoefList")->count(), 0);
}

TEST_F(MainFormSelectTest, ZoomStretchesTheSpectrumView) {
  MarkRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  Find<QSpinBox>("ZoomSpin")->setValue(3);
  EXPECT_EQ(Find<QWidget>("SpecDrawArea")->size(), QSize(24, 48));
  EXPECT_EQ(Find<TImageWidget>("SpecDrawArea")->Shown().size(), QSize(8, 16));
}

TEST_F(MainFormSelectTest, NothingHappensWithoutAMarkedItem) {
  Find<QPushButton>("ShowShBtn")->click();
  Trigger("Select1");
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_EQ(Text("IDLab"), "");
}

TEST_F(MainFormSelectTest, ShapeMenuSelectRunsTheButton) {
  MarkRow(3);
  Trigger("Select1");
  EXPECT_EQ(LogMessages().front(), "Shape 'Shape C49732' selected");
  EXPECT_EQ(Text("IDLab"), "12883762");
  EXPECT_EQ(Text("WLab"), "32");
}

TEST_F(MainFormSelectTest, ShapeMenuSelectDoesNothingWhileTheButtonIsDisabled) {
  MarkRow(3);
  frm_->Core().Controls.ShowShBtnEnabled = false;
  frm_->Core().Notify(kControlsChanged);
  Trigger("Select1");
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(MainFormSelectTest, DoubleClickInTheListSelects) {
  auto* list = Find<QListWidget>("ShapeList");
  QApplication::processEvents();  // lets the list lay its items out
  const QRect item = list->visualItemRect(list->item(2));
  DoubleClick(list->viewport(), item.center());
  EXPECT_EQ(list->currentRow(), 2);
  EXPECT_EQ(Text("IDLab"), "13905072");
  EXPECT_EQ(LogMessages().front(), "Shape 'Shape D42CB0' selected");
}

TEST_F(MainFormSelectTest, ClickOnTheMapViewSelectsTheShapeWhoseLabelIsThere) {
  const std::optional<QPoint> pixel = PixelInBothBoxes(kShape2Label);
  ASSERT_TRUE(pixel);
  ClickAtMapPixel("MapDrawArea", *pixel);
  EXPECT_EQ(frm_->Core().ClickX, pixel->x());
  EXPECT_EQ(frm_->Core().ClickY, pixel->y());
  EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), 2);
  EXPECT_EQ(Text("IDLab"), QString::number(kShape2Label));
}

TEST_F(MainFormSelectTest, ClickOnThePictureViewSelectsInTheMapViewsScale) {
  const std::optional<QPoint> pixel = PixelInBothBoxes(kShape1Label);
  ASSERT_TRUE(pixel);
  ClickAtMapPixel("PicDrawArea", *pixel);
  EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), 1);
  EXPECT_EQ(Text("IDLab"), QString::number(kShape1Label));
}

TEST_F(MainFormSelectTest, ClickOnTheDecodedViewSelectsToo) {
  ClickAtMapPixel("ReconstDrawArea", QPoint(1, 1));
  EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), 0);
  EXPECT_EQ(Text("IDLab"), "11142399");
}

TEST_F(MainFormSelectTest, PressWithoutReleaseInsideDoesNotSelect) {
  QWidget* overlay = Find<QWidget>("MapDrawArea");
  QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(-20, -20));
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(MainFormSelectTest, ContinueEncodingTakesTheInfoTabsValues) {
  MarkRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  auto* box = Find<QCheckBox>("ContEncChck");
  box->click();
  EXPECT_EQ(Text("PSNRLab"), "0.00");
  EXPECT_EQ(Text("IteratLab"), "0");
  box->click();
  EXPECT_EQ(Text("PSNRLab"), "0");
}

TEST_F(MainFormTest, UpdateInfoAndRequestedPsnrReachTheCore) {
  Find<QCheckBox>("ShowShapInfChck")->click();
  EXPECT_TRUE(frm_->Core().Controls.ShowShapInfChecked);
  auto* edit = Find<QLineEdit>("ReqPSNREd");
  edit->selectAll();
  QTest::keyClicks(edit, "31.5");
  EXPECT_EQ(frm_->Core().Controls.ReqPSNRText, "31.5");
}

}  // namespace
}  // namespace tvlc::test
