// The time-stamped log of the main window.
#pragma once

#include <string>
#include <vector>

namespace tvlc {

class TLog {
 public:
  // Lines the log holds at most; adding beyond it clears the log first.
  static constexpr size_t kDefaultCapacity = 65536;

  explicit TLog(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Appends "[" + timeText (cut to 15 characters) + "] " + message. Line
  // breaks ("\r\n" or "\n") in the message start new lines; a message ending
  // in a line break leaves an empty line after it.
  void Add(const std::string& timeText, const std::string& message);
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& Lines() const { return lines_; }
  // Every line ended by CR LF.
  std::string Text() const;
  // Throws std::runtime_error when the file cannot be written.
  void SaveToFile(const std::string& path) const;

 private:
  size_t capacity_;
  std::vector<std::string> lines_;
};

// Time of day as "hh:mm:ss" for a time given as a fraction of a day.
std::string LongTimeText(double dayFraction);

}  // namespace tvlc
