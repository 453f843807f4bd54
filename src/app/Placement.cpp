#include "Placement.h"

#include <QScreen>
#include <QWidget>

namespace tvlc {

void CenterOver(QWidget& dialog, const QWidget& owner) {
  const QRect frame = owner.frameGeometry();
  dialog.move(frame.x() + (frame.width() - dialog.width()) / 2,
              frame.y() + (frame.height() - dialog.height()) / 2);
}

void CenterOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window.move(area.x() + (area.width() - window.width()) / 2,
              area.y() + (area.height() - window.height()) / 2);
}

}  // namespace tvlc
