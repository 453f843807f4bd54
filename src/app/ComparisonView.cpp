#include "ComparisonView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tvlc {

TComparisonView::TComparisonView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(64, 64);
}

void TComparisonView::SetImage(const QImage& image) {
  const bool sameSize = image.size() == image_.size();
  image_ = image;
  if (!sameSize || fitted_) Fit();
  update();
}

double TComparisonView::FitZoom() const {
  if (image_.isNull()) return 1.0;
  return std::min(double(width()) / image_.width(), double(height()) / image_.height());
}

void TComparisonView::Fit() {
  fitted_ = true;
  zoom_ = FitZoom();
  origin_ = QPointF(0, 0);
  Clamp();
  update();
  emit ZoomChanged(zoom_, fitted_);
}

void TComparisonView::ZoomAbout(double factor, QPointF anchor) {
  if (image_.isNull()) return;
  factor = std::clamp(factor, std::min(FitZoom(), 1.0), kMaxZoom);
  const QPointF fixed = PicturePoint(anchor);
  fitted_ = false;
  zoom_ = factor;
  origin_ = anchor - fixed * zoom_;
  Clamp();
  update();
  emit ZoomChanged(zoom_, fitted_);
}

void TComparisonView::ShowArea(const QRectF& area) {
  if (image_.isNull() || area.isEmpty()) return;
  const double factor = std::clamp(std::min(width() / area.width(), height() / area.height()),
                                   std::min(FitZoom(), kMaxZoom), kMaxZoom);
  fitted_ = false;
  zoom_ = factor;
  origin_ = QPointF(width() / 2.0, height() / 2.0) - area.center() * zoom_;
  Clamp();
  update();
  emit ZoomChanged(zoom_, fitted_);
}

void TComparisonView::Clamp() {
  const QSizeF shown = QSizeF(image_.size()) * zoom_;
  auto clampAxis = [](double origin, double extent, double room) {
    if (extent <= room) return (room - extent) / 2.0;
    return std::clamp(origin, room - extent, 0.0);
  };
  origin_ = QPointF(clampAxis(origin_.x(), shown.width(), width()),
                    clampAxis(origin_.y(), shown.height(), height()));
  // Whole screen pixels, so that every picture pixel is drawn the same size.
  origin_ = QPointF(std::round(origin_.x()), std::round(origin_.y()));
}

void TComparisonView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().dark());
  if (image_.isNull()) return;
  // Reduced pictures are smoothed; enlarged ones show their pixels as they are.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
  painter.drawImage(QRectF(origin_, QSizeF(image_.size()) * zoom_), image_);
}

void TComparisonView::resizeEvent(QResizeEvent*) {
  if (fitted_) {
    Fit();
    return;
  }
  Clamp();
}

void TComparisonView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0 || image_.isNull()) return;
  // The next level up or down from the present zoom; below the smallest
  // level that enlarges, the view fits the picture.
  double target = zoom_;
  for (int i = 0; i < std::abs(steps); ++i) {
    if (steps > 0) {
      const auto next = std::upper_bound(std::begin(kLevels), std::end(kLevels), target + 1e-9);
      target = next == std::end(kLevels) ? kMaxZoom : *next;
    } else {
      const auto below = std::lower_bound(std::begin(kLevels), std::end(kLevels), target - 1e-9);
      target = below == std::begin(kLevels) ? 0.0 : *(below - 1);
    }
  }
  if (target <= FitZoom() + 1e-9) {
    Fit();
  } else {
    ZoomAbout(target, event->position());
  }
  event->accept();
}

void TComparisonView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragFrom_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void TComparisonView::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    origin_ += event->position() - dragFrom_;
    dragFrom_ = event->position();
    Clamp();
    update();
  }
  ReportPointer(event->position());
}

void TComparisonView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  unsetCursor();
}

void TComparisonView::leaveEvent(QEvent*) { emit PointerAt(QPoint(-1, -1)); }

void TComparisonView::ReportPointer(QPointF at) {
  const QPointF pixel = PicturePoint(at);
  const QPoint whole(int(std::floor(pixel.x())), int(std::floor(pixel.y())));
  emit PointerAt(image_.rect().contains(whole) ? whole : QPoint(-1, -1));
}

}  // namespace tvlc
