// The Coder tab's chart: PSNR against iteration of the latest encode, the
// requested PSNR as a line, and during Encode All the final iterations and
// PSNR of every finished shape. Redrawn with the coder's labels.
#pragma once

#include <QChartView>
#include <string>

class QAction;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace tvlc {

class TEncodeCurves;

class TPsnrChart : public QChartView {
  Q_OBJECT

 public:
  // PSNR values from this on (an exact reconstruction reports 1e20 dB) are
  // drawn at the top of the chart, which the other values decide.
  static constexpr double kExactPSNR = 150.0;

  explicit TPsnrChart(QWidget* parent = nullptr);

  // The chart stands on the right of `controls` in their common parent and
  // steps aside while the parent is too narrow for both, so that the
  // controls keep their room in a small window.
  void PlaceBeside(QWidget& controls);

  void Show(const TEncodeCurves& curves);
  // The context menu's "Export chart to PNG...".
  QAction* ExportAction() const { return export_; }
  // Writes the chart as drawn; false (and an earlier file kept as it was)
  // when the file cannot be written.
  bool SavePng(const std::string& path);

  QLineSeries* Curve() const { return curve_; }
  QLineSeries* RequestedLine() const { return requested_; }
  QScatterSeries* FinishedShapes() const { return finished_; }
  QValueAxis* PsnrAxis() const { return psnr_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kNarrowest = 160;
  QWidget* controls_ = nullptr;
  QLineSeries* curve_;
  QLineSeries* requested_;
  QScatterSeries* finished_;
  QValueAxis* iterations_;
  QValueAxis* psnr_;
  QAction* export_;
};

}  // namespace tvlc
