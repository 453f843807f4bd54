#include "cli/RdOptions.h"

#include <cmath>
#include <stdexcept>

#include "base/NumberText.h"
#include "model/Shape.h"
#include "study/RdStudy.h"

namespace tvlc {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::vector<double> ParsePsnrRange(const std::string& text) {
  const std::vector<std::string> parts = Split(text, ':');
  std::vector<double> values;
  for (const std::string& part : parts)
    if (const std::optional<double> v = ParseNumberText(part)) values.push_back(*v);
  std::vector<double> levels;
  if (values.size() == 3 && parts.size() == 3) levels = PsnrRange(values[0], values[1], values[2]);
  if (levels.empty())
    throw std::invalid_argument("--psnr needs FROM:TO:STEP with FROM <= TO, STEP > 0 and at "
                                "most 10000 values, not '" + text + "'");
  return levels;
}

// A whole number from `low` to `high`, or (with names) one of the names by
// its index.
int ParseSetting(const std::string& option, const std::string& text, int low, int high,
                 const char* const* names = nullptr) {
  if (names)
    for (int i = low; i <= high; ++i)
      if (text == names[i]) return i;
  const std::optional<double> v = ParseNumberText(text);
  if (!v || *v != std::floor(*v) || *v < low || *v > high)
    throw std::invalid_argument(option + " needs whole numbers from " + std::to_string(low) +
                                " to " + std::to_string(high) + ", not '" + text + "'");
  return int(*v);
}

std::vector<int> ParseList(const std::string& option, const std::string& text, int low,
                           int high, const char* const* names = nullptr) {
  std::vector<int> values;
  for (const std::string& part : Split(text, ','))
    values.push_back(ParseSetting(option, part, low, high, names));
  return values;
}

}  // namespace

TRdOptions ParseRdOptions(const std::vector<std::string>& words) {
  TRdOptions options;
  options.settings.Psnr = PsnrRange(20.0, 45.0, 0.5);
  options.settings.Qualities = {50};
  options.settings.Norms = {2};
  std::vector<std::string> shared = {words.at(0)};
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
      return words[++i];
    };
    if (word == "--psnr")
      options.settings.Psnr = ParsePsnrRange(value());
    else if (word == "--quality")
      options.settings.Qualities = ParseList(word, value(), 0, 100);
    else if (word == "--norm")
      options.settings.Norms = ParseList(word, value(), 0, 4, kNormKindNames);
    else if (word == "--jpeg")
      options.jpeg = true;
    else if (word == "--csv")
      options.csv = value();
    else if (word == "--plot")
      options.plot = value();
    else
      shared.push_back(word);
  }
  options.common = ParseCliOptions(shared);
  options.settings.ModuleCode = options.common.moduleCode;
  options.settings.TransCode = options.common.transCode;
  const size_t files = options.common.GeneratesMap() ? 1 : 2;
  if (options.common.files.size() != files)
    throw std::invalid_argument("rd needs PICTURE and MAP (or --rect WxH or --segment METHOD)");
  return options;
}

}  // namespace tvlc
