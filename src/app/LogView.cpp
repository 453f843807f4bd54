#include "LogView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>

namespace tvlc {

namespace {

QString Joined(const std::vector<std::string>& lines, size_t from) {
  QString text;
  for (size_t i = from; i < lines.size(); ++i) {
    if (i > from) text += '\n';
    text += QString::fromStdString(lines[i]);
  }
  return text;
}

}  // namespace

void KeepLinesVisible(QPlainTextEdit& edit, int lines) {
  // The frame, the document's margins and the horizontal scroll bar that
  // long lines bring come on top of the lines themselves.
  const int margins = 2 * edit.frameWidth() + 2 * int(edit.document()->documentMargin());
  const int bar = edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  edit.setMinimumHeight(lines * edit.fontMetrics().lineSpacing() + margins + bar);
}

bool TLogView::Continues(const std::vector<std::string>& lines) const {
  return lines.size() >= shown_ && (shown_ == 0 || lines[shown_ - 1] == lastShown_);
}

void TLogView::Show(const std::vector<std::string>& lines) {
  if (!Continues(lines)) {
    edit_.clear();
    shown_ = 0;
  }
  if (lines.size() > shown_) edit_.appendPlainText(Joined(lines, shown_));
  shown_ = lines.size();
  lastShown_ = shown_ ? lines.back() : std::string();
  QScrollBar* bar = edit_.verticalScrollBar();
  bar->setValue(bar->maximum());
}

}  // namespace tvlc
