// Draws list items whose text holds tabs with tab stops of a chosen width.
// The style's own drawing puts them 80 pixels apart, which pushes the part
// after a tab past the right edge of a small dialog.
#pragma once

#include <QStyledItemDelegate>

namespace tvlc {

class TTabStopDelegate : public QStyledItemDelegate {
 public:
  TTabStopDelegate(qreal tabStop, QObject* parent) : QStyledItemDelegate(parent), tabStop_(tabStop) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  // The width a line takes when drawn in `widget`, with the item's margins.
  int LineWidth(const QWidget& widget, const QString& text) const;

 private:
  qreal tabStop_;
};

}  // namespace tvlc
