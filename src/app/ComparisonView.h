// A picture with zoom and pan: fit to the widget or 1x to 16x, zoomed by the
// mouse wheel about the pointer, panned by dragging, every picture pixel a
// sharp square when enlarged. Reports the picture pixel under the pointer.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace tvlc {

class TComparisonView : public QWidget {
  Q_OBJECT

 public:
  // The zoom levels beyond fitting the whole picture.
  static constexpr double kLevels[] = {1, 2, 4, 8, 16};
  static constexpr double kMaxZoom = 16;

  explicit TComparisonView(QWidget* parent = nullptr);

  // A new image of the same size keeps zoom and position; another size
  // shows the whole picture.
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }

  // Screen pixels per picture pixel, and whether the view fits the picture.
  double Zoom() const { return zoom_; }
  bool Fitted() const { return fitted_; }
  void Fit();
  // Zoom `factor`, keeping the picture point under widget point `anchor`.
  void ZoomAbout(double factor, QPointF anchor);
  void SetZoom(double factor) { ZoomAbout(factor, rect().center()); }
  // Shows `area` (picture pixels) centred, as large as fits up to 16x.
  void ShowArea(const QRectF& area);

  // Widget point of picture point `pixel`, and the reverse.
  QPointF WidgetPoint(QPointF pixel) const { return origin_ + pixel * zoom_; }
  QPointF PicturePoint(QPointF at) const { return (at - origin_) / zoom_; }

 signals:
  // The picture pixel under the pointer, or (-1, -1) when it left the picture.
  void PointerAt(QPoint pixel);
  void ZoomChanged(double zoom, bool fitted);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  double FitZoom() const;
  // Keeps as much of the picture in view as the zoom allows; a picture
  // smaller than the widget stays centred.
  void Clamp();
  void ReportPointer(QPointF at);

  QImage image_;
  double zoom_ = 1.0;
  bool fitted_ = true;
  QPointF origin_;  // widget position of the picture's top left corner
  bool dragging_ = false;
  QPointF dragFrom_;
};

}  // namespace tvlc
