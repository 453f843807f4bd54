#include "RdStudyFrm.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "Dialogs.h"
#include "appcore/MainCore.h"
#include "appcore/StudyInput.h"
#include "base/NumberText.h"
#include "base/ReplaceFile.h"
#include "study/RdStudy.h"

namespace tvlc {

namespace {

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

std::optional<std::vector<int>> ParseList(const QString& text, int low, int high) {
  std::vector<int> values;
  for (const QString& part : text.split(',')) {
    const std::optional<double> v = ParseNumberText(part.trimmed().toStdString());
    if (!v || *v != double(int(*v)) || *v < low || *v > high) return std::nullopt;
    values.push_back(int(*v));
  }
  return values;
}

// Copies of the window's shapes: the study changes spectra and settings.
TShapeList CopyShapes(const TShapeList& shapes) {
  TShapeList copy;
  copy.reserve(shapes.size());
  for (const TShapeItem& item : shapes)
    copy.push_back({item.Name, std::make_unique<TShape>(*item.Shape)});
  return copy;
}

}  // namespace

TRdStudyFrm::TRdStudyFrm(TMainCore& core, TDialogs& dialogs, QWidget* parent)
    : QDialog(parent), core_(core), dialogs_(dialogs) {
  setObjectName("RdStudyFrm");
  setWindowTitle("Rate-distortion study");
  from_ = Named(new QLineEdit("20"), "RdFromEdit");
  to_ = Named(new QLineEdit("45"), "RdToEdit");
  step_ = Named(new QLineEdit("0.5"), "RdStepEdit");
  qualities_ = Named(new QLineEdit("50"), "RdQualityEdit");
  norms_ = Named(new QLineEdit("2"), "RdNormEdit");
  jpeg_ = Named(new QCheckBox("JPEG and JPEG 2000 beside"), "RdJpegCheck");
  jpeg_->setChecked(true);
  run_ = Named(new QPushButton("Run"), "RdRunBtn");
  stop_ = Named(new QPushButton("Stop"), "RdStopBtn");
  stop_->setEnabled(false);
  progress_ = Named(new QProgressBar, "RdProgress");
  chart_ = Named(new QChartView(new QChart), "RdChart");
  chart_->setMinimumSize(640, 420);
  chart_->setRenderHint(QPainter::Antialiasing);
  figures_ = Named(new QLabel, "RdBdLabel");
  savePng_ = Named(new QPushButton("Save PNG..."), "RdSavePngBtn");
  saveSvg_ = Named(new QPushButton("Save SVG..."), "RdSaveSvgBtn");
  saveCsv_ = Named(new QPushButton("Save CSV..."), "RdSaveCsvBtn");
  for (QPushButton* b : {savePng_, saveSvg_, saveCsv_}) b->setEnabled(false);

  auto* form = new QFormLayout;
  auto* range = new QHBoxLayout;
  for (QLineEdit* e : {from_, to_, step_}) range->addWidget(e);
  form->addRow("Requested PSNR from, to, step [dB]:", range);
  form->addRow("Qualities (0..100, comma separated):", qualities_);
  form->addRow("Normalizations (0..4, comma separated):", norms_);
  form->addRow(jpeg_);
  auto* buttons = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{run_, stop_, progress_}) buttons->addWidget(w);
  auto* exports = new QHBoxLayout;
  for (QPushButton* b : {savePng_, saveSvg_, saveCsv_}) exports->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(chart_, 1);
  layout->addWidget(figures_);
  layout->addLayout(exports);

  connect(run_, &QPushButton::clicked, this, &TRdStudyFrm::Run);
  connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
  connect(savePng_, &QPushButton::clicked, this, &TRdStudyFrm::SavePng);
  connect(saveSvg_, &QPushButton::clicked, this, &TRdStudyFrm::SaveSvg);
  connect(saveCsv_, &QPushButton::clicked, this, &TRdStudyFrm::SaveCsv);
}

void TRdStudyFrm::Run() {
  const auto number = [](QLineEdit* e) { return ParseNumberText(e->text().trimmed().toStdString()); };
  const std::optional<double> from = number(from_), to = number(to_), step = number(step_);
  TSweepSettings settings;
  if (from && to && step) settings.Psnr = PsnrRange(*from, *to, *step);
  const auto qualities = ParseList(qualities_->text(), 0, 100);
  const auto norms = ParseList(norms_->text(), 0, 4);
  if (settings.Psnr.empty() || !qualities || !norms) {
    dialogs_.ErrorBox(this, "Give the requested PSNR as FROM <= TO with STEP > 0, the qualities "
                            "as whole numbers 0..100 and the normalizations as 0..4");
    return;
  }
  if (!core_.PicData || !core_.MapData || core_.Shapes.empty()) {
    dialogs_.ErrorBox(this, "Load a picture and a map first");
    return;
  }
  settings.Qualities = *qualities;
  settings.Norms = *norms;
  settings.ModuleCode = core_.Registry.DefModuleCode;
  settings.TransCode = core_.Registry.DefTransCode;

  TShapeList shapes = CopyShapes(core_.Shapes);
  // The window does not tell a generated map from a loaded one: every map
  // is charged its coded labels (a few bytes for rectangles).
  const TSweepInput input = StudyInputOf(core_, shapes, "map", false);
  pixels_ = double(core_.PicWidth) * core_.PicHeight;

  stopRequested_ = false;
  run_->setEnabled(false);
  stop_->setEnabled(true);
  progress_->setValue(0);
  TRdStudy study;
  const bool ran = core_.RunStudy([&] {
    study = RunRdStudy(input, settings, jpeg_->isChecked(), [this](size_t done, size_t total) {
      if (total) {
        progress_->setMaximum(int(total));
        progress_->setValue(int(done));
      }
      QApplication::processEvents();
      return stopRequested_;
    });
  });
  run_->setEnabled(true);
  stop_->setEnabled(false);
  if (!ran) {
    dialogs_.ErrorBox(this, "Another command is running; try again when it ends");
    return;
  }
  rows_ = study.Rows;
  if (!study.Error.empty()) dialogs_.ErrorBox(this, study.Error);
  QStringList lines;
  for (const std::string& line : RdBdLines(study.Figures)) lines << QString::fromStdString(line);
  if (study.Stopped) lines << "Stopped: the curves show the settings measured so far.";
  figures_->setText(lines.join('\n'));
  ShowCurves();
  for (QPushButton* b : {savePng_, saveSvg_, saveCsv_}) b->setEnabled(!rows_.empty());
}

void TRdStudyFrm::ShowCurves() {
  auto* chart = new QChart;
  auto* x = new QValueAxis;
  x->setTitleText("bits per pixel");
  auto* y = new QValueAxis;
  y->setTitleText("PSNR [dB]");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  const auto attach = [&](QXYSeries* series, const std::vector<TRdSample>& curve) {
    for (const TRdSample& s : curve) series->append(s.Rate, s.Psnr);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
  };
  auto* settings = new QScatterSeries;
  settings->setName("every setting");
  settings->setMarkerSize(4);
  std::vector<TRdSample> all;
  for (const TRdRow& r : rows_)
    if (r.Codec == "tvlc" && r.Psnr) all.push_back({r.Bpp, *r.Psnr});
  attach(settings, all);
  const struct {
    const char* Codec;
    bool TextureOnly;
    const char* Name;
  } curves[] = {{"tvlc", false, "envelope (map included)"},
                {"tvlc", true, "envelope (texture only)"},
                {"jpeg", false, "JPEG"},
                {"jpeg2000", false, "JPEG 2000"}};
  for (const auto& c : curves) {
    const std::vector<TRdSample> curve = RdCurve(rows_, c.Codec, c.TextureOnly, pixels_);
    if (curve.empty()) continue;
    auto* line = new QLineSeries;
    line->setName(c.Name);
    attach(line, curve);
  }
  x->applyNiceNumbers();
  y->applyNiceNumbers();
  QChart* old = chart_->chart();
  chart_->setChart(chart);
  delete old;
}

void TRdStudyFrm::Write(const std::string& path, const std::string& bytes) {
  try {
    ReplaceFile(path, bytes);
  } catch (const std::exception& e) {
    dialogs_.ErrorBox(this, e.what());
  }
}

void TRdStudyFrm::Export(const TFileFilter& filter,
                         const std::function<void(QBuffer&)>& render) {
  const std::string path = dialogs_.SaveFile(this, filter);
  if (path.empty()) return;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  render(buffer);
  Write(path, bytes.toStdString());
}

void TRdStudyFrm::SavePng() {
  Export(kPngFilter, [this](QBuffer& buffer) { chart_->grab().save(&buffer, "PNG"); });
}

void TRdStudyFrm::SaveSvg() {
  Export(kSvgFilter, [this](QBuffer& buffer) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(chart_->size());
    svg.setViewBox(QRect(QPoint(0, 0), chart_->size()));
    svg.setTitle("Rate-distortion study");
    QPainter painter(&svg);
    chart_->render(&painter);
  });
}

void TRdStudyFrm::SaveCsv() {
  const std::string path = dialogs_.SaveFile(this, kCsvFilter);
  if (path.empty()) return;
  Write(path, RdCsv(rows_));
}

}  // namespace tvlc
