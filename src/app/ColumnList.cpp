#include "ColumnList.h"

#include <algorithm>

namespace tvlc {

TColumnList::TColumnList(int columns, QWidget* parent) : QListWidget(parent), columns_(columns) {
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setUniformItemSizes(true);
}

void TColumnList::resizeEvent(QResizeEvent* event) {
  const int columnWidth = std::max(viewport()->width() / columns_, 1);
  setGridSize(QSize(columnWidth, fontMetrics().height() + 2));
  QListWidget::resizeEvent(event);
}

}  // namespace tvlc
