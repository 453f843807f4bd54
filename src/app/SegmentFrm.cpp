#include "SegmentFrm.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <climits>

#include "DialogButtons.h"
#include "Named.h"
#include "model/segmentation/Segmentation.h"

namespace tvlc {

namespace {

constexpr const char* kNoCount = "Regions: press Preview";

QDoubleSpinBox* NumberSpin(const char* name, double low, double high, int decimals, double step) {
  auto* spin = Named(new QDoubleSpinBox, name);
  spin->setRange(low, high);
  spin->setDecimals(decimals);
  spin->setSingleStep(step);
  return spin;
}

QSpinBox* WholeSpin(const char* name, int low, int high) {
  auto* spin = Named(new QSpinBox, name);
  spin->setRange(low, high);
  return spin;
}

}  // namespace

TSegmentFrm::TSegmentFrm(TSegmentParams& params, TRegionCounter countRegions, QWidget* parent)
    : QDialog(parent), params_(params), countRegions_(std::move(countRegions)) {
  setObjectName("SegmentFrm");
  setWindowTitle("Generate segmentation...");

  method_ = Named(new QComboBox, "MethodCombo");
  method_->addItem("Felzenszwalb (graph-based regions)");
  method_->addItem("SLIC (superpixels)");

  scale_ = NumberSpin("ScaleSpin", 0.0, kMaxScale, 2, 10.0);
  sigma_ = NumberSpin("SigmaSpin", 0.0, kMaxSigma, 2, 0.1);
  minSize_ = WholeSpin("MinSizeSpin", 0, INT_MAX);
  auto* felzenszwalb = new QWidget;
  auto* felzenszwalbForm = new QFormLayout(felzenszwalb);
  felzenszwalbForm->addRow("Scale", scale_);
  felzenszwalbForm->addRow("Sigma", sigma_);
  felzenszwalbForm->addRow("Min size", minSize_);

  segments_ = WholeSpin("SegmentsSpin", 1, kMaxMapRegions);
  compactness_ = NumberSpin("CompactnessSpin", 0.001, kMaxCompactness, 3, 0.1);
  auto* slic = new QWidget;
  auto* slicForm = new QFormLayout(slic);
  slicForm->addRow("Segments", segments_);
  slicForm->addRow("Compactness", compactness_);

  pages_ = new QStackedWidget;
  pages_->addWidget(felzenszwalb);
  pages_->addWidget(slic);

  regionCount_ = Named(new QLabel(kNoCount), "RegionCountLab");
  QPushButton* preview = NamedButton("PreviewBtn", "&Preview");
  connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
  auto* previewRow = new QHBoxLayout;
  previewRow->addWidget(regionCount_, 1);
  previewRow->addWidget(preview);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(method_);
  layout->addWidget(pages_);
  layout->addLayout(previewRow);
  layout->addLayout(GenerateCancelButtons(*this));

  connect(method_, &QComboBox::currentIndexChanged, pages_, &QStackedWidget::setCurrentIndex);
  // A count shown belongs to the values it was made with.
  connect(method_, &QComboBox::currentIndexChanged, this,
          [this] { regionCount_->setText(kNoCount); });
  for (QDoubleSpinBox* spin : {scale_, sigma_, compactness_})
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { regionCount_->setText(kNoCount); });
  for (QSpinBox* spin : {minSize_, segments_})
    connect(spin, &QSpinBox::valueChanged, this, [this] { regionCount_->setText(kNoCount); });
  ShowParams();
}

void TSegmentFrm::accept() {
  TakeParams();
  QDialog::accept();
}

void TSegmentFrm::showEvent(QShowEvent* event) {
  ShowParams();
  QDialog::showEvent(event);
}

void TSegmentFrm::ShowParams() {
  method_->setCurrentIndex(params_.Method == TSegmentMethod::Slic ? 1 : 0);
  scale_->setValue(params_.Felzenszwalb.Scale);
  sigma_->setValue(params_.Felzenszwalb.Sigma);
  minSize_->setValue(params_.Felzenszwalb.MinSize);
  segments_->setValue(params_.Slic.Segments);
  compactness_->setValue(params_.Slic.Compactness);
  regionCount_->setText(kNoCount);
}

void TSegmentFrm::TakeParams() {
  params_.Method =
      method_->currentIndex() == 1 ? TSegmentMethod::Slic : TSegmentMethod::Felzenszwalb;
  params_.Felzenszwalb = {scale_->value(), sigma_->value(), minSize_->value()};
  params_.Slic = {segments_->value(), compactness_->value()};
}

void TSegmentFrm::Preview() {
  TakeParams();
  // The dialog takes no input while the picture is segmented.
  setEnabled(false);
  const int count = countRegions_(params_);
  setEnabled(true);
  regionCount_->setText(count < 0 ? QString("Regions: none (see the log)")
                                  : QString("Regions: %1").arg(count));
}

}  // namespace tvlc
