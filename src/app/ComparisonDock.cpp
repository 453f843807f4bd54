#include "ComparisonDock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ComparisonView.h"
#include "ImageWidget.h"
#include "Named.h"
#include "appcore/MainCore.h"

namespace tvlc {

namespace {

// The zoom choice's items: "Fit", then the view's levels.
QString LevelText(double level) { return QString("%1x").arg(level); }

}  // namespace

TComparisonDock::TComparisonDock(QLabel& pixelInfo, QWidget* parent)
    : QDockWidget("Comparison", parent), pixelInfo_(pixelInfo) {
  setObjectName("CompareDock");
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(2, 2, 2, 2);

  auto* bar = new QHBoxLayout;
  source_ = Named(new QComboBox, "CompareSource");
  source_->addItems({"Input picture", "Decoded picture", "Difference", "Map over input"});
  zoom_ = Named(new QComboBox, "CompareZoom");
  zoom_->addItem("Fit");
  for (double level : TComparisonView::kLevels) zoom_->addItem(LevelText(level));
  follow_ = Named(new QCheckBox("Follow selected shape"), "CompareFollow");
  bar->addWidget(source_);
  bar->addWidget(zoom_);
  bar->addStretch(1);
  layout->addLayout(bar);
  layout->addWidget(follow_);

  scale_ = Named(new QLabel, "CompareScale");
  scale_->setWordWrap(true);
  scale_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scale_->setMinimumHeight(2 * scale_->fontMetrics().lineSpacing());
  layout->addWidget(scale_);
  view_ = Named(new TComparisonView, "CompareView");
  layout->addWidget(view_, 1);
  setWidget(content);

  connect(source_, &QComboBox::currentIndexChanged, this, [this] { Render(); });
  connect(zoom_, &QComboBox::activated, this, &TComparisonDock::ChooseZoom);
  connect(follow_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) FollowSelection();
  });
  connect(view_, &TComparisonView::ZoomChanged, this, &TComparisonDock::ShowZoom);
  connect(view_, &TComparisonView::PointerAt, this, [this](QPoint pixel) {
    pixelInfo_.setText(core_ ? QString::fromStdString(DescribePixel(*core_, pixel.x(), pixel.y()))
                             : QString());
  });
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) FirstShown();
    if (visible && stale_) Render();
  });
}

void TComparisonDock::FirstShown() {
  if (sized_ || isFloating()) return;
  sized_ = true;
  // Docked, it first takes a third of the window, whatever size that has.
  if (auto* window = qobject_cast<QMainWindow*>(parentWidget()))
    window->resizeDocks({this}, {window->width() / 3}, Qt::Horizontal);
}

TCompareKind TComparisonDock::Kind() const { return TCompareKind(source_->currentIndex()); }

void TComparisonDock::Refresh(const TMainCore& core, unsigned changes) {
  core_ = &core;
  if (changes & kViewsChanged) {
    stale_ = true;
    if (isVisible()) Render();
  }
  if ((changes & kShapeListChanged) && follow_->isChecked()) FollowSelection();
}

void TComparisonDock::Render() {
  if (!core_) return;
  const TComparison shown = RenderComparison(*core_, Kind());
  view_->SetImage(ToQImage(shown.Image));
  // Every kind has a line here, so that the picture stays in place when the
  // user flips between them.
  switch (Kind()) {
    case TCompareKind::Input:
      scale_->setText("Input picture");
      break;
    case TCompareKind::Decoded:
      scale_->setText("Decoded picture; white where nothing is decoded yet");
      break;
    case TCompareKind::Difference:
      scale_->setText(
          QString("Decoded minus input: black -%1, mid-grey 0, white +%1 grey levels; blue "
                  "where nothing is decoded yet")
              .arg(shown.Scale));
      break;
    case TCompareKind::MapOverInput:
      scale_->setText("Outlines of the map's shapes in yellow over the input picture");
      break;
  }
  stale_ = false;
}

void TComparisonDock::FollowSelection() {
  if (!core_ || !core_->SelectedShape || !isVisible()) return;
  if (stale_) Render();
  const TShape& shape = *core_->SelectedShape;
  view_->ShowArea(QRectF(shape.Left, shape.Top, shape.BoxWidth(), shape.BoxHeight()));
}

void TComparisonDock::ShowZoom(double zoom, bool fitted) {
  // A zoom between the levels (fitting a shape) leaves the choice blank.
  zoom_->setCurrentIndex(fitted ? 0 : zoom_->findText(LevelText(zoom)));
  zoom_->setToolTip(QString("%1x").arg(zoom, 0, 'f', 2));
}

void TComparisonDock::ChooseZoom(int index) {
  if (index == 0) {
    view_->Fit();
  } else {
    view_->SetZoom(TComparisonView::kLevels[index - 1]);
  }
}

TComparisonDock* AddComparisonDock(QMainWindow& window, QLabel*& pixelInfo) {
  pixelInfo = Named(new QLabel, "PixelInfo");
  // A long text must not make the window wider.
  pixelInfo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* dock = new TComparisonDock(*pixelInfo, &window);
  window.addDockWidget(Qt::RightDockWidgetArea, dock);
  dock->hide();
  QAction* toggle = dock->toggleViewAction();
  toggle->setObjectName("ShowCompare1");
  toggle->setText("Comparison view");
  toggle->setShortcut(QKeySequence(Qt::Key_F4));
  auto* button = Named(new QToolButton, "CompareBtn");
  button->setDefaultAction(toggle);
  button->setAutoRaise(true);
  window.statusBar()->addWidget(pixelInfo, 1);
  window.statusBar()->addPermanentWidget(button);
  return dock;
}

}  // namespace tvlc
