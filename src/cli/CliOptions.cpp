#include "cli/CliOptions.h"

#include <stdexcept>

#include "appcore/FloatText.h"
#include "model/Shape.h"

namespace tvlc {

namespace {

int ParseInt(const std::string& option, const std::string& text, int low, int high) {
  size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < low || value > high)
    throw std::invalid_argument(option + " needs a whole number from " + std::to_string(low) +
                                " to " + std::to_string(high) + ", not '" + text + "'");
  return value;
}

int ParseNormKind(const std::string& text) {
  for (int kind = 0; kind < 5; ++kind)
    if (text == kNormKindNames[kind]) return kind;
  return ParseInt("--norm", text, 0, 4);
}

}  // namespace

TCliOptions ParseCliOptions(const std::vector<std::string>& words) {
  if (words.empty()) throw std::invalid_argument("no command given");
  TCliOptions options;
  options.command = words[0];
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
      return words[++i];
    };
    if (word == "--csv") {
      options.csv = true;
    } else if (word == "--psnr") {
      options.psnr = value();
      if (!ParseFloatText(options.psnr))
        throw std::invalid_argument("--psnr needs a number, not '" + options.psnr + "'");
    } else if (word == "--transform") {
      const std::string& text = value();
      const size_t colon = text.find(':');
      if (colon == std::string::npos)
        throw std::invalid_argument("--transform needs MODULE:TRANS, not '" + text + "'");
      options.moduleCode = ParseInt("--transform", text.substr(0, colon), 0, INT32_MAX);
      options.transCode = ParseInt("--transform", text.substr(colon + 1), 0, INT32_MAX);
    } else if (word == "--quality") {
      options.quality = ParseInt(word, value(), 0, 100);
    } else if (word == "--norm") {
      options.normKind = ParseNormKind(value());
    } else if (word == "--out") {
      options.out = value();
    } else if (word == "--save-project") {
      options.saveProject = value();
    } else if (word == "--engine") {
      options.engine = value();
      if (options.engine != "fast" && options.engine != "literal")
        throw std::invalid_argument("--engine is fast or literal, not '" + options.engine + "'");
    } else if (word == "--target-bpp" || word == "--target-psnr") {
      const std::string& text = value();
      const std::optional<double> target = ParseFloatText(text);
      if (!target || !(*target > 0.0))
        throw std::invalid_argument(word + " needs a positive number, not '" + text + "'");
      (word == "--target-bpp" ? options.targetBpp : options.targetPsnr) = *target;
    } else if (word == "--rect" && i + 1 < words.size() && words[i + 1] == "auto") {
      ++i;
      options.rectAuto = true;
      options.rectWidth = options.rectHeight = 0;
    } else if (word == "--rect") {
      const std::string& text = value();
      const size_t x = text.find('x');
      if (x == std::string::npos)
        throw std::invalid_argument("--rect needs WIDTHxHEIGHT, not '" + text + "'");
      options.rectWidth = ParseInt(word, text.substr(0, x), 1, kMaxShapeExtent);
      options.rectHeight = ParseInt(word, text.substr(x + 1), 1, kMaxShapeExtent);
    } else if (word.size() > 1 && word[0] == '-') {
      throw std::invalid_argument("unknown option " + word);
    } else {
      options.files.push_back(word);
    }
  }
  if (options.targetBpp && options.targetPsnr)
    throw std::invalid_argument("--target-bpp and --target-psnr exclude each other");
  if (options.rectAuto && !options.targetBpp && !options.targetPsnr)
    throw std::invalid_argument("--rect auto needs --target-bpp or --target-psnr");
  return options;
}

}  // namespace tvlc
