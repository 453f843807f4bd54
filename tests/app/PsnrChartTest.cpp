// The Coder tab's PSNR chart: the curve is the stored notifications, the
// requested PSNR a line, Encode All's finished shapes a second series, and
// the chart exports as PNG.
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QValueAxis>

#include "MainFormCodingFixture.h"
#include "PsnrChart.h"

namespace tvlc::test {
namespace {

QList<QPointF> Expected(const std::vector<TCurvePoint>& points) {
  QList<QPointF> expected;
  for (const TCurvePoint& p : points) expected << QPointF(p.Iteration, p.PSNR);
  return expected;
}

TEST_F(MainFormCodingTest, ChartDrawsEveryNotificationAndTheRequestedLine) {
  Core().SetInputInterval({});
  SelectShape(2);
  TypeRequestedPSNR("32");
  Click("EncBtn");
  auto* chart = Find<TPsnrChart>("PsnrChart");
  const std::vector<TCurvePoint>& points = Core().Curves.Points();
  ASSERT_EQ(points.size(), size_t(Core().SelectedShape->Iterations));
  ASSERT_LT(points.size(), 400u);  // few enough to be drawn unthinned
  EXPECT_EQ(chart->Curve()->points(), Expected(points));
  EXPECT_EQ(chart->Curve()->name(), QString::fromStdString(Core().Shapes[2].Name));
  EXPECT_EQ(chart->RequestedLine()->points(),
            QList<QPointF>({{0, 32.0}, {double(points.back().Iteration), 32.0}}));
  EXPECT_FALSE(chart->FinishedShapes()->isVisible());
  // The curve is kept after the encode and while another shape is selected.
  SelectShape(3);
  EXPECT_EQ(chart->Curve()->points(), Expected(points));
}

TEST_F(MainFormCodingTest, EncodeAllAddsEachShapesFinalPoint) {
  Click("EncAllBtn");
  auto* chart = Find<TPsnrChart>("PsnrChart");
  EXPECT_TRUE(chart->FinishedShapes()->isVisible());
  EXPECT_EQ(chart->FinishedShapes()->points(), Expected(Core().Curves.Finished()));
  ASSERT_EQ(chart->FinishedShapes()->count(), int(Core().Shapes.size()));
  for (size_t i = 0; i < Core().Shapes.size(); ++i)
    EXPECT_EQ(chart->FinishedShapes()->at(int(i)),
              QPointF(Core().Shapes[i].Shape->Iterations, Core().Shapes[i].Shape->PSNR));
}

TEST_F(MainFormCodingTest, ExactReconstructionIsDrawnAtTheTopOfTheChart) {
  TEncodeCurves curves;
  curves.StartEncode("Shape 1", 30.0, false);
  curves.Add(1, 20.0);
  curves.Add(2, 34.2);
  curves.Add(3, 1e20);
  TPsnrChart chart;
  chart.Show(curves);
  // The finite values decide the range; the exact one sits at its top.
  EXPECT_EQ(chart.PsnrAxis()->min(), 19.0);
  EXPECT_EQ(chart.PsnrAxis()->max(), 36.0);
  EXPECT_EQ(chart.Curve()->at(2), QPointF(3, 36.0));
  EXPECT_EQ(chart.Curve()->at(1), QPointF(2, 34.2));
}

TEST_F(MainFormCodingTest, ChartExportsAsPng) {
  SelectShape(2);
  Click("EncBtn");
  dialogs_->Answers.push_back(Scratch("curve.png"));
  auto* chart = Find<TPsnrChart>("PsnrChart");
  ASSERT_EQ(chart->actions().size(), 1);
  EXPECT_EQ(chart->actions()[0]->objectName(), "ExportChart1");
  const size_t asked = dialogs_->Asked.size();
  chart->actions()[0]->trigger();
  ASSERT_EQ(dialogs_->Asked.size(), asked + 1);
  EXPECT_TRUE(dialogs_->Asked.back().Save);
  EXPECT_EQ(dialogs_->Asked.back().DefaultExt, "png");
  QImage saved;
  ASSERT_TRUE(saved.load(QString::fromStdString(Scratch("curve.png")), "PNG"));
  EXPECT_EQ(saved.size(), chart->size() * chart->devicePixelRatio());
  EXPECT_EQ(LogMessages().back(), "");
  // A file that cannot be written is reported.
  dialogs_->Answers.push_back(Scratch("missing/curve.png"));
  chart->actions()[0]->trigger();
  EXPECT_TRUE(Logged("Error: cannot write " + Scratch("missing/curve.png")));
}

TEST_F(MainFormCodingTest, ChartStandsBesideTheCoderControlsWhenThereIsRoom) {
  Find<QTabWidget>("ShapeTabs")->setCurrentIndex(2);
  auto* chart = Find<TPsnrChart>("PsnrChart");
  QWidget* controls = Find<QLineEdit>("ReqPSNREd")->parentWidget();
  frm_->resize(1920, 1080);
  QApplication::processEvents();
  EXPECT_FALSE(chart->isHidden());
  EXPECT_GE(chart->width(), 160);
  EXPECT_GT(chart->height(), 160);
  EXPECT_GE(chart->x(), controls->geometry().right());
  // In the smallest window the controls keep their room.
  frm_->resize(646, 614);
  QApplication::processEvents();
  EXPECT_EQ(chart->isHidden(),
            chart->parentWidget()->width() < controls->minimumSizeHint().width() + 160);
  if (chart->isHidden()) EXPECT_GE(controls->width(), controls->minimumSizeHint().width() - 1);
}

}  // namespace
}  // namespace tvlc::test
