// Map > Rate-distortion study...: the sweep in the window.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>
#include <fstream>
#include <sstream>

#include "MainFormFixture.h"
#include "RdStudyFrm.h"
#include "study/RdReport.h"

namespace tvlc::test {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void SetRange(TRdStudyFrm& form, const char* from, const char* to, const char* step) {
  form.findChild<QLineEdit*>("RdFromEdit")->setText(from);
  form.findChild<QLineEdit*>("RdToEdit")->setText(to);
  form.findChild<QLineEdit*>("RdStepEdit")->setText(step);
}

TEST_F(MainFormTest, RateDistortionStudyDrawsCurvesAndExports) {
  LoadSmallInputs();
  bool seen = false;
  WhenModal<TRdStudyFrm>([&](TRdStudyFrm& form) {
    seen = true;
    EXPECT_EQ(form.windowTitle(), "Rate-distortion study");
    SetRange(form, "25", "35", "5");
    form.findChild<QLineEdit*>("RdQualityEdit")->setText("30,70");
    ASSERT_TRUE(form.findChild<QCheckBox*>("RdJpegCheck")->isChecked());
    form.findChild<QPushButton*>("RdRunBtn")->click();

    ASSERT_EQ(form.Rows().size(), 6u + 38u);
    auto* bar = form.findChild<QProgressBar*>("RdProgress");
    EXPECT_EQ(bar->value(), bar->maximum());
    const QString figures = form.findChild<QLabel*>("RdBdLabel")->text();
    EXPECT_TRUE(figures.contains("BD-rate against jpeg (map included): ")) << figures.toStdString();
    EXPECT_TRUE(figures.contains("BD-rate against jpeg2000 (map not counted): "));
    QChart* chart = form.findChild<QChartView*>("RdChart")->chart();
    ASSERT_EQ(chart->series().size(), 5);  // settings, two envelopes, JPEG, JPEG 2000
    EXPECT_EQ(static_cast<QXYSeries*>(chart->series()[0])->count(), 6);

    dialogs_->Answers.push_back(Scratch("rd.csv"));
    form.findChild<QPushButton*>("RdSaveCsvBtn")->click();
    EXPECT_EQ(ReadText(Scratch("rd.csv")), RdCsv(form.Rows()));
    dialogs_->Answers.push_back(Scratch("rd.svg"));
    form.findChild<QPushButton*>("RdSaveSvgBtn")->click();
    EXPECT_NE(ReadText(Scratch("rd.svg")).find("<svg"), std::string::npos);
    dialogs_->Answers.push_back(Scratch("rd.png"));
    form.findChild<QPushButton*>("RdSavePngBtn")->click();
    EXPECT_EQ(ReadText(Scratch("rd.png")).substr(1, 3), "PNG");
    form.reject();
  });
  Trigger("RdStudy1");
  EXPECT_TRUE(seen);
  // The study coded copies: the window's shapes are still not encoded.
  for (const TShapeItem& item : frm_->Core().Shapes) EXPECT_FALSE(item.Shape->HasSpectrum());
}

TEST_F(MainFormTest, RateDistortionStudyStopsAndRefusesBadSettings) {
  LoadSmallInputs();
  WhenModal<TRdStudyFrm>([&](TRdStudyFrm& form) {
    SetRange(form, "30", "20", "1");
    form.findChild<QPushButton*>("RdRunBtn")->click();
    ASSERT_EQ(dialogs_->Errors.size(), 1u);
    EXPECT_TRUE(form.Rows().empty());
    EXPECT_FALSE(form.findChild<QPushButton*>("RdSaveCsvBtn")->isEnabled());

    SetRange(form, "20", "40", "0.5");
    QTimer::singleShot(0, &form, [&form] { form.findChild<QPushButton*>("RdStopBtn")->click(); });
    form.findChild<QPushButton*>("RdRunBtn")->click();
    EXPECT_TRUE(form.findChild<QLabel*>("RdBdLabel")->text().contains("Stopped"));
    EXPECT_LT(form.Rows().size(), 41u);
    EXPECT_TRUE(form.findChild<QPushButton*>("RdRunBtn")->isEnabled());
    EXPECT_FALSE(form.findChild<QPushButton*>("RdStopBtn")->isEnabled());
    form.reject();
  });
  Trigger("RdStudy1");
}

}  // namespace
}  // namespace tvlc::test
