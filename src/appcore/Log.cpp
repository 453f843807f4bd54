#include "appcore/Log.h"

#include <cmath>
#include <cstdio>

#include "base/ReplaceFile.h"

namespace tvlc {

void TLog::Add(const std::string& timeText, const std::string& message) {
  std::vector<std::string> added;
  std::string line = "[";
  line.append(timeText, 0, 15).append("] ");
  for (size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') continue;
    if (c == '\n') {
      added.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  added.push_back(line);
  if (lines_.size() + added.size() > capacity_) lines_.clear();
  lines_.insert(lines_.end(), added.begin(), added.end());
}

std::string TLog::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

void TLog::SaveToFile(const std::string& path) const { ReplaceFile(path, Text()); }

std::string LongTimeText(double dayFraction) {
  long seconds = std::lround(std::floor(dayFraction * 86400.0)) % 86400;
  if (seconds < 0) seconds += 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

}  // namespace tvlc
