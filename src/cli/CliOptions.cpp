#include "cli/CliOptions.h"

#include <algorithm>
#include <filesystem>
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

double ParseNumber(const std::string& option, const std::string& text) {
  const std::optional<double> value = ParseFloatText(text);
  if (!value) throw std::invalid_argument(option + " needs a number, not '" + text + "'");
  return *value;
}

// The parameters of the segmentation methods, as keys of --segment and,
// with "--" in front, options of segment.
struct TSegmentKey {
  const char* Key;
  TSegmentMethod Method;
};
constexpr TSegmentKey kSegmentKeys[] = {
    {"scale", TSegmentMethod::Felzenszwalb}, {"sigma", TSegmentMethod::Felzenszwalb},
    {"min-size", TSegmentMethod::Felzenszwalb}, {"segments", TSegmentMethod::Slic},
    {"compactness", TSegmentMethod::Slic}};

const TSegmentKey* FindSegmentKey(const std::string& key) {
  for (const TSegmentKey& k : kSegmentKeys)
    if (key == k.Key) return &k;
  return nullptr;
}

// Ranges are checked against the picture when it is segmented.
void SetSegmentParam(TSegmentParams& params, const std::string& key, const std::string& text) {
  const std::string option = "--" + key;
  if (key == "scale") params.Felzenszwalb.Scale = ParseNumber(option, text);
  if (key == "sigma") params.Felzenszwalb.Sigma = ParseNumber(option, text);
  if (key == "min-size") params.Felzenszwalb.MinSize = ParseInt(option, text, 0, INT32_MAX);
  if (key == "segments") params.Slic.Segments = ParseInt(option, text, 1, kMaxMapRegions);
  if (key == "compactness") params.Slic.Compactness = ParseNumber(option, text);
}

TSegmentMethod ParseMethod(const std::string& option, const std::string& name) {
  const std::optional<TSegmentMethod> method = MethodNamed(name);
  if (!method)
    throw std::invalid_argument(option + " is felzenszwalb or slic, not '" + name + "'");
  return *method;
}

void CheckParamMethod(TSegmentMethod method, const std::string& key, TSegmentMethod chosen) {
  if (method != chosen)
    throw std::invalid_argument(key + " is a parameter of " + MethodName(method) + ", not of " +
                                MethodName(chosen));
}

// METHOD[:key=value,...], e.g. "slic:segments=300,compactness=0.5".
TSegmentParams ParseSegmentArgument(const std::string& argument) {
  TSegmentParams params;
  const size_t colon = argument.find(':');
  params.Method = ParseMethod("--segment", argument.substr(0, colon));
  if (colon == std::string::npos) return params;
  const std::string list = argument.substr(colon + 1);
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const std::string item = list.substr(start, comma - start);
    const size_t equals = item.find('=');
    if (equals == std::string::npos)
      throw std::invalid_argument("--segment needs key=value after the method, not '" + item +
                                  "'");
    const std::string key = item.substr(0, equals);
    const TSegmentKey* known = FindSegmentKey(key);
    if (!known) throw std::invalid_argument("--segment has no parameter '" + key + "'");
    CheckParamMethod(known->Method, key, params.Method);
    SetSegmentParam(params, key, item.substr(equals + 1));
    start = comma + 1;
  }
  return params;
}

int ParseNormKind(const std::string& text) {
  for (int kind = 0; kind < 5; ++kind)
    if (text == kNormKindNames[kind]) return kind;
  return ParseInt("--norm", text, 0, 4);
}

}  // namespace

// More workers than this only cost memory.
constexpr int kMaxThreads = 1024;

TCliOptions ParseCliOptions(const std::vector<std::string>& words) {
  if (words.empty()) throw std::invalid_argument("no command given");
  TCliOptions options;
  options.command = words[0];
  // Options of segment: --method and the parameters, checked at the end.
  std::vector<std::pair<std::string, TSegmentMethod>> segmentOptions;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
      return words[++i];
    };
    if (word == "--csv") {
      options.csv = true;
    } else if (word == "--grey") {
      options.grey = true;
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
    } else if (word == "--threads") {
      options.threads = unsigned(ParseInt(word, value(), 1, kMaxThreads));
    } else if (word == "--diagnostics") {
      options.diagnostics = value();
      std::error_code error;
      if (!std::filesystem::is_directory(options.diagnostics, error))
        throw std::invalid_argument("--diagnostics needs an existing folder, not '" +
                                    options.diagnostics + "'");
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
    } else if (word == "--segment") {
      options.segmentation = ParseSegmentArgument(value());
      options.segment = true;
    } else if (word == "--method") {
      options.segmentation.Method = ParseMethod(word, value());
      segmentOptions.emplace_back(word, options.segmentation.Method);
    } else if (const TSegmentKey* key = word.starts_with("--") ? FindSegmentKey(word.substr(2))
                                                               : nullptr) {
      SetSegmentParam(options.segmentation, key->Key, value());
      segmentOptions.emplace_back(word, key->Method);
    } else if (word == "--save-map") {
      options.saveMap = value();
    } else if (word.size() > 1 && word[0] == '-') {
      throw std::invalid_argument("unknown option " + word);
    } else {
      options.files.push_back(word);
    }
  }
  for (const auto& [option, method] : segmentOptions) {
    if (options.command != "segment")
      throw std::invalid_argument(option + " is an option of segment; " + options.command +
                                  " takes --segment METHOD[:key=value,...]");
    CheckParamMethod(method, option, options.segmentation.Method);
  }
  if (options.segment && (options.rectWidth || options.rectAuto))
    throw std::invalid_argument("--rect and --segment both make a map; give one");
  if (options.targetBpp && options.targetPsnr)
    throw std::invalid_argument("--target-bpp and --target-psnr exclude each other");
  if (options.rectAuto && !options.targetBpp && !options.targetPsnr)
    throw std::invalid_argument("--rect auto needs --target-bpp or --target-psnr");
  return options;
}

}  // namespace tvlc
