// One image of the model shown as large as the widget allows in its own
// proportions, centred, with the window's background around it. The three
// views stack two of them: the picture, map or decoded picture beneath, and
// an overlay of the same pixel size over it whose white pixels let the image
// beneath show; both fall on the same rectangle.
#pragma once

#include <QImage>
#include <QWidget>

#include "model/Image.h"

namespace tvlc {

// An 8-bit indexed image while the model image holds at most 256 colours,
// 0xAARRGGBB pixels beyond; with whiteTransparent, white pixels get alpha 0.
QImage ToQImage(const TImage& image, bool whiteTransparent = false);

// The largest rectangle of imageSize's proportions inside `area`, centred.
QRect FittedRect(QSize imageSize, const QRect& area);

class TImageWidget : public QWidget {
  Q_OBJECT

 public:
  explicit TImageWidget(QWidget* parent = nullptr, bool whiteTransparent = false);

  void SetImage(const TImage& image);
  const QImage& Shown() const { return shown_; }
  // Where the image is drawn, in widget coordinates; empty without one.
  QRect PictureRect() const { return FittedRect(shown_.size(), rect()); }

 signals:
  // Mouse press at a position relative to the widget (map it through
  // PictureRect to find the pixel).
  void Pressed(QPoint position);
  // Press and release of the left button inside the widget.
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool whiteTransparent_;
  bool leftPressed_ = false;
  QImage shown_;
};

// An image with an overlay of the same extent over it; the overlay receives
// the mouse.
class TOverlaidView : public TImageWidget {
  Q_OBJECT

 public:
  TOverlaidView(const QString& imageName, const QString& overlayName, QWidget* parent = nullptr);

  TImageWidget& Overlay() { return *overlay_; }
  void SetImages(const TImage& image, const TImage& overlay);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  TImageWidget* overlay_;
};

}  // namespace tvlc
