#include "ViewPanel.h"

namespace tvlc {

TViewPanel::TViewPanel(QWidget* first, QWidget* second, QWidget* third, QWidget* parent)
    : QWidget(parent), first_(first), second_(second), third_(third) {
  for (QWidget* view : {first, second, third}) view->setParent(this);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize TViewPanel::minimumSizeHint() const { return {90, 60}; }

void TViewPanel::resizeEvent(QResizeEvent*) {
  const int third = width() / 3;
  first_->setGeometry(0, 0, third, height());
  second_->setGeometry(third, 0, third, height());
  third_->setGeometry(2 * third, 0, width() - 2 * third, height());
}

}  // namespace tvlc
