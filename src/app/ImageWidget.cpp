#include "ImageWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace tvlc {

QImage ToQImage(const TImage& image, bool whiteTransparent) {
  const auto shown = [whiteTransparent](TColor c) {
    return whiteTransparent && c == kWhite ? qRgba(0, 0, 0, 0) : qRgb(RedOf(c), GreenOf(c), BlueOf(c));
  };
  // An image of at most 256 colours is shown as it is stored, with a byte
  // a pixel: pictures, maps and overlays as large as a photograph add no
  // more than that to the window.
  if (!image.Palette().empty()) {
    QImage result(image.Width(), image.Height(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (size_t i = 0; i < image.Palette().size() && i < 256; ++i)
      table.push_back(shown(image.Palette()[i]));
    result.setColorTable(table);
    for (int y = 0; y < image.Height(); ++y) {
      uchar* line = result.scanLine(y);
      for (int x = 0; x < image.Width(); ++x) line[x] = image.Index(x, y);
    }
    return result;
  }
  QImage result(image.Width(), image.Height(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < image.Width(); ++x) line[x] = shown(image.Pixel(x, y));
  }
  return result;
}

QRect FittedRect(QSize imageSize, const QRect& area) {
  if (imageSize.isEmpty() || area.isEmpty()) return {};
  const QSize fitted = imageSize.scaled(area.size(), Qt::KeepAspectRatio);
  return {area.x() + (area.width() - fitted.width()) / 2,
          area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

TImageWidget::TImageWidget(QWidget* parent, bool whiteTransparent)
    : QWidget(parent), whiteTransparent_(whiteTransparent) {
  setAttribute(Qt::WA_OpaquePaintEvent, !whiteTransparent);
}

void TImageWidget::SetImage(const TImage& image) {
  shown_ = ToQImage(image, whiteTransparent_);
  update();
}

void TImageWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!whiteTransparent_) painter.fillRect(rect(), palette().window());
  if (!shown_.isNull()) painter.drawImage(PictureRect(), shown_);
}

void TImageWidget::mousePressEvent(QMouseEvent* event) {
  emit Pressed(event->position().toPoint());
  leftPressed_ = event->button() == Qt::LeftButton;
}

void TImageWidget::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = leftPressed_ && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint());
  leftPressed_ = false;
  if (click) emit Clicked();
}

TOverlaidView::TOverlaidView(const QString& imageName, const QString& overlayName,
                             QWidget* parent)
    : TImageWidget(parent), overlay_(new TImageWidget(this, true)) {
  setObjectName(imageName);
  overlay_->setObjectName(overlayName);
}

void TOverlaidView::SetImages(const TImage& image, const TImage& overlay) {
  SetImage(image);
  overlay_->SetImage(overlay);
}

void TOverlaidView::resizeEvent(QResizeEvent*) { overlay_->setGeometry(rect()); }

}  // namespace tvlc
