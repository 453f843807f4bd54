// The Spectrum and Coeficients tabs: "Refresh", the zoom and the list of
// quantized coefficients.
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>

#include "ImageWidget.h"
#include "MainFormCodingFixture.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

class MainFormSpectrumTest : public MainFormCodingTest {
 protected:
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
};

TEST_F(MainFormSpectrumTest, RefreshShowsTheEncodedShapesCoefficients) {
  SelectShape(2);
  Click("EncBtn");
  Trigger("ClearLog1");
  Click("RedrawSpecBtn");
  EXPECT_EQ(LogMessages(), Lines({"...updating spectrum view for Shape D42CB0", "Done.", ""}));

  const TSpectrumTab& tab = Core().Spectrum;
  ASSERT_FALSE(tab.CoefList.empty());
  EXPECT_EQ(Text("ZeroLab").toStdString(), tab.ZeroLab);
  EXPECT_EQ(Text("NonZeroLab").toStdString(), std::to_string(tab.CoefList.size()));
  EXPECT_EQ(Text("MinValLab").toStdString(), tab.MinValLab);
  EXPECT_EQ(Text("MaxValLab").toStdString(), tab.MaxValLab);
  EXPECT_NE(Text("MaxValLab"), "");
  auto* list = Find<QListWidget>("CoefList");
  std::vector<std::string> shown;
  for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
  EXPECT_EQ(shown, tab.CoefList);
  EXPECT_TRUE(std::filesystem::exists(Scratch("SPECTRUM_TXT_Shape D42CB0.TXT")));
  EXPECT_TRUE(std::filesystem::exists(Scratch("SPECTRUM_IMG_Shape D42CB0.BMP")));
}

TEST_F(MainFormSpectrumTest, ZoomTenMakesTheViewTenTimesTheWindow) {
  SelectShape(2);
  Find<QSpinBox>("ZoomSpin")->setValue(10);
  auto* view = Find<TImageWidget>("SpecDrawArea");
  EXPECT_EQ(view->size(), QSize(640, 160));
  EXPECT_EQ(view->Shown().size(), QSize(64, 16));
}

TEST_F(MainFormSpectrumTest, ZoomWithoutASelectedShapeChangesNothing) {
  auto* view = Find<QWidget>("SpecDrawArea");
  const QSize before = view->size();
  Find<QSpinBox>("ZoomSpin")->setValue(4);
  EXPECT_EQ(view->size(), before);
  EXPECT_EQ(Core().Spectrum.ViewWidth, 0);
  EXPECT_EQ(Core().Spectrum.ViewHeight, 0);
}

TEST_F(MainFormSpectrumTest, CoefficientListFillsItsTab) {
  auto* tabs = Find<QTabWidget>("ShapeTabs");
  tabs->setCurrentIndex(5);
  QApplication::processEvents();
  QWidget* page = Find<QWidget>("TabSheet6");
  auto* list = Find<QListWidget>("CoefList");
  const QMargins margins = page->layout()->contentsMargins();
  const QRect geometry = list->geometry();
  EXPECT_EQ(geometry.left(), margins.left());
  EXPECT_EQ(geometry.right(), page->width() - margins.right() - 1);
  EXPECT_EQ(geometry.bottom(), page->height() - margins.bottom() - 1);
  EXPECT_GT(geometry.height(), page->height() / 2);
  EXPECT_EQ(list->gridSize().width(), list->viewport()->width() / 6);

  frm_->resize(800, 700);
  QApplication::processEvents();
  EXPECT_EQ(list->geometry().right(), page->width() - margins.right() - 1);
  EXPECT_EQ(list->gridSize().width(), list->viewport()->width() / 6);
}

}  // namespace
}  // namespace tvlc::test
