// Map > "Rate-distortion study...": the sweep of tvlc-cli rd on the loaded
// picture and map, with a progress bar and Stop, the curves, the
// Bjontegaard figures, and exports of the plot (PNG, SVG) and the CSV. The
// study codes copies of the shapes, so the window's own coding state stays
// as it was.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "study/RdRow.h"

class QBuffer;
class QCheckBox;
class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tvlc {

class TDialogs;
struct TFileFilter;
class TMainCore;

class TRdStudyFrm : public QDialog {
  Q_OBJECT

 public:
  TRdStudyFrm(TMainCore& core, TDialogs& dialogs, QWidget* parent = nullptr);

  const std::vector<TRdRow>& Rows() const { return rows_; }

 private:
  void Run();
  void ShowCurves();
  void SavePng();
  void SaveSvg();
  void SaveCsv();
  // Asks for a file and writes what `render` puts into the buffer.
  void Export(const TFileFilter& filter, const std::function<void(QBuffer&)>& render);
  // Writes the bytes through the one safe writer; an error box on failure.
  void Write(const std::string& path, const std::string& bytes);

  TMainCore& core_;
  TDialogs& dialogs_;
  QLineEdit* from_;
  QLineEdit* to_;
  QLineEdit* step_;
  QLineEdit* qualities_;
  QLineEdit* norms_;
  QCheckBox* jpeg_;
  QPushButton* run_;
  QPushButton* stop_;
  QProgressBar* progress_;
  QChartView* chart_;
  QLabel* figures_;
  QPushButton* savePng_;
  QPushButton* saveSvg_;
  QPushButton* saveCsv_;
  bool stopRequested_ = false;
  std::vector<TRdRow> rows_;
  double pixels_ = 0.0;
};

}  // namespace tvlc
