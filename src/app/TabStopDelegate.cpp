#include "TabStopDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <cmath>
#include <QPainter>
#include <QTextOption>

namespace tvlc {

namespace {

int TextMargin(const QStyle& style, const QWidget* widget) {
  return style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

}  // namespace

int TTabStopDelegate::LineWidth(const QWidget& widget, const QString& text) const {
  const QSizeF size = QFontMetricsF(widget.font()).size(Qt::TextExpandTabs, text, int(tabStop_));
  return int(std::ceil(size.width())) + 2 * TextMargin(*widget.style(), &widget);
}

void TTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  // The style draws the background, focus and selection; the text is ours.
  item.text.clear();
  const QWidget* widget = item.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

  QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
  const int margin = TextMargin(*style, widget);
  area.adjust(margin, 0, -margin, 0);
  QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
  layout.setWrapMode(QTextOption::NoWrap);
  layout.setTabStopDistance(tabStop_);
  painter->save();
  painter->setFont(item.font);
  painter->setPen(item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                          : QPalette::Text));
  painter->drawText(QRectF(area), text, layout);
  painter->restore();
}

}  // namespace tvlc
