#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace tvlc {

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  painter.fillRect(2, 2, 14, 28, QColor(70, 70, 70));
  painter.fillRect(16, 2, 14, 12, QColor(150, 150, 150));
  painter.fillRect(16, 14, 14, 16, QColor(210, 210, 210));
  painter.setPen(QColor(220, 0, 0));
  painter.drawRect(1, 1, 29, 29);
  painter.drawLine(16, 2, 16, 30);
  painter.drawLine(16, 14, 30, 14);
  return QIcon(pixmap);
}

}  // namespace tvlc
