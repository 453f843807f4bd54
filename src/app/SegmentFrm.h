// "Generate segmentation...": the method of Map > Generate segmentation and
// its parameters, with a preview of the number of regions they give. The
// values live in the core's TSegmentParams, so they persist between uses.
#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace tvlc {

struct TSegmentParams;

class TSegmentFrm : public QDialog {
  Q_OBJECT

 public:
  // `countRegions` segments the picture with the given parameters and
  // returns the number of regions, or -1 when it cannot.
  using TRegionCounter = std::function<int(const TSegmentParams&)>;
  TSegmentFrm(TSegmentParams& params, TRegionCounter countRegions, QWidget* parent = nullptr);

 public slots:
  // "&Generate": the values shown become the core's.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowParams();
  void TakeParams();
  void Preview();

  TSegmentParams& params_;
  TRegionCounter countRegions_;
  QComboBox* method_;
  QStackedWidget* pages_;
  QDoubleSpinBox *scale_, *sigma_, *compactness_;
  QSpinBox *minSize_, *segments_;
  QLabel* regionCount_;
};

}  // namespace tvlc
