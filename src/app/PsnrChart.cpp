#include "PsnrChart.h"

#include <QAction>
#include <QBuffer>
#include <QLineSeries>
#include <QPen>
#include <QResizeEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "appcore/EncodeCurves.h"
#include "base/ReplaceFile.h"

namespace tvlc {

namespace {

QList<QPointF> Drawn(const std::vector<TCurvePoint>& points, double top) {
  QList<QPointF> drawn;
  drawn.reserve(qsizetype(points.size()));
  for (const TCurvePoint& p : points) drawn.append(QPointF(p.Iteration, std::min(p.PSNR, top)));
  return drawn;
}

}  // namespace

TPsnrChart::TPsnrChart(QWidget* parent)
    : QChartView(parent),
      curve_(new QLineSeries),
      requested_(new QLineSeries),
      finished_(new QScatterSeries),
      iterations_(new QValueAxis),
      psnr_(new QValueAxis),
      export_(new QAction("Export chart to PNG...", this)) {
  setObjectName("PsnrChart");
  curve_->setObjectName("PsnrCurve");
  requested_->setObjectName("RequestedPsnrLine");
  finished_->setObjectName("FinishedShapes");
  export_->setObjectName("ExportChart1");
  requested_->setName("Requested");
  requested_->setPen(QPen(Qt::darkRed, 1.5, Qt::DashLine));
  // Each finished shape of an Encode All at its final iteration and PSNR.
  finished_->setName("Encode All");
  finished_->setMarkerSize(6.0);

  auto* chart = new QChart;
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->legend()->setAlignment(Qt::AlignBottom);
  QFont small = chart->legend()->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  chart->legend()->setFont(small);
  // A narrow chart shortens the names; the full name is the tooltip.
  chart->legend()->setShowToolTips(true);
  iterations_->setTitleText("Iteration");
  iterations_->setLabelFormat("%d");
  psnr_->setTitleText("PSNR [dB]");
  chart->addAxis(iterations_, Qt::AlignBottom);
  chart->addAxis(psnr_, Qt::AlignLeft);
  for (QXYSeries* series : std::initializer_list<QXYSeries*>{curve_, requested_, finished_}) {
    chart->addSeries(series);
    series->attachAxis(iterations_);
    series->attachAxis(psnr_);
  }
  // The view starts with a chart of its own, which setChart hands back.
  QChart* initial = this->chart();
  setChart(chart);
  delete initial;
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(40, 40);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  addAction(export_);
}

void TPsnrChart::Show(const TEncodeCurves& curves) {
  double lastIteration = 1.0, low = curves.Requested(), high = curves.Requested();
  for (const auto* series : {&curves.Points(), &curves.Finished()})
    for (const TCurvePoint& p : *series) {
      lastIteration = std::max(lastIteration, double(p.Iteration));
      low = std::min(low, p.PSNR);
      if (p.PSNR < kExactPSNR) high = std::max(high, p.PSNR);
    }
  const double top = std::ceil(high + 1.0);
  iterations_->setRange(0, lastIteration);
  psnr_->setRange(std::floor(std::max(0.0, low - 1.0)), top);

  // Two points per horizontal screen pixel keep the line's every wiggle.
  const size_t budget = size_t(std::max(400, 2 * width()));
  curve_->replace(Drawn(ThinForDrawing(curves.Points(), budget), top));
  curve_->setName(QString::fromStdString(curves.ShapeName()));
  finished_->replace(Drawn(curves.Finished(), top));
  finished_->setVisible(!curves.Finished().empty());
  requested_->replace({QPointF(0, curves.Requested()), QPointF(lastIteration, curves.Requested())});
  requested_->setVisible(curves.Requested() > 0.0);
}

void TPsnrChart::PlaceBeside(QWidget& controls) {
  controls_ = &controls;
  controls.parentWidget()->installEventFilter(this);
}

bool TPsnrChart::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && controls_ && watched == controls_->parentWidget()) {
    const int room = static_cast<QResizeEvent*>(event)->size().width();
    setVisible(room >= controls_->minimumSizeHint().width() + kNarrowest);
  }
  return false;
}

bool TPsnrChart::SavePng(const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !grab().save(&buffer, "PNG")) return false;
  // A failed export leaves an earlier file as it was.
  try {
    ReplaceFile(path, std::string_view(bytes.constData(), size_t(bytes.size())));
    return true;
  } catch (const TFileWriteError&) {
    return false;
  }
}

}  // namespace tvlc
