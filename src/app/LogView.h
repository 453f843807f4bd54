// Shows the core's log lines in a text control. The log grows one command
// step at a time, so only the new lines are appended; a log that was cleared
// in the meantime is shown afresh. The view always follows the last line.
#pragma once

#include <string>
#include <vector>

class QPlainTextEdit;

namespace tvlc {

// Makes `edit` at least `lines` lines of text high.
void KeepLinesVisible(QPlainTextEdit& edit, int lines);

class TLogView {
 public:
  explicit TLogView(QPlainTextEdit& edit) : edit_(edit) {}

  void Show(const std::vector<std::string>& lines);

 private:
  // True when `lines` still begins with what the control shows.
  bool Continues(const std::vector<std::string>& lines) const;

  QPlainTextEdit& edit_;
  size_t shown_ = 0;
  std::string lastShown_;
};

}  // namespace tvlc
