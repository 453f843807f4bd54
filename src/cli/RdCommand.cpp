// tvlc-cli rd: the rate-distortion study of one picture and map.
#include <filesystem>
#include <iomanip>
#include <iostream>

#include "appcore/StudyInput.h"
#include "base/NumberText.h"
#include "base/ReplaceFile.h"
#include "cli/CliCommands.h"
#include "cli/RdOptions.h"
#include "study/RdPlot.h"
#include "study/RdStudy.h"

namespace tvlc {

namespace {

void PrintEnvelope(const std::vector<TRdRow>& rows) {
  std::cout << "envelope (map included):\n"
            << std::setw(10) << "bpp" << std::setw(10) << "psnr" << std::setw(8) << "ssim"
            << std::setw(10) << "request" << std::setw(9) << "quality" << std::setw(6)
            << "norm" << "\n";
  for (const TRdRow& r : rows) {
    if (!r.Envelope.value_or(false)) continue;
    std::cout << std::setw(10) << FixedText(r.Bpp, 4) << std::setw(10)
              << (r.Psnr ? FixedText(*r.Psnr, 2) : std::string("inf")) << std::setw(8)
              << (r.Ssim ? FixedText(*r.Ssim, 4) : std::string()) << std::setw(10)
              << FixedText(r.RequestedPsnr.value_or(0.0), 2) << std::setw(9)
              << r.Quality.value_or(0) << std::setw(6) << r.Norm.value_or(0) << "\n";
  }
}

// The map as the CSV's map column and the plot's title name it.
std::string MapNameOf(const TCliOptions& common) {
  if (common.segment) return "segment " + Describe(common.segmentation);
  if (common.rectWidth)
    return "rect " + std::to_string(common.rectWidth) + "x" + std::to_string(common.rectHeight);
  return std::filesystem::path(common.files[1]).filename().string();
}

bool WriteOutput(const std::string& path, const std::string& text) {
  try {
    ReplaceFile(path, text);
    return true;
  } catch (const std::exception& e) {
    std::cerr << "tvlc-cli: " << e.what() << "\n";
    return false;
  }
}

}  // namespace

int RdCommand(const std::vector<std::string>& words) {
  TRdOptions options;
  try {
    options = ParseRdOptions(words);
  } catch (const std::invalid_argument& e) {
    return UsageError(e.what());
  }
  const TCliOptions& common = options.common;
  TCliSession session(common);
  if (!session.LoadPictureAndMap(common)) return 1;
  TMainCore& core = session.core;

  const std::string mapName = MapNameOf(common);
  const TSweepInput input = StudyInputOf(core, core.Shapes, mapName, common.rectWidth != 0);
  const TRdStudy study = RunRdStudy(input, options.settings, options.jpeg);
  if (!study.Error.empty()) {
    std::cerr << "tvlc-cli: " << study.Error << "\n";
    return 1;
  }

  const double pixels = double(core.PicWidth) * core.PicHeight;
  size_t settings = 0;
  for (const TRdRow& r : study.Rows) settings += r.Codec == "tvlc";
  const std::vector<std::string> bdLines = RdBdLines(study.Figures);
  std::cout << "shapes: " << core.Shapes.size() << "\n"
            << "map: " << input.MapName << ", " << input.MapBytes << " bytes\n"
            << "settings: " << settings << "\n"
            << "one encode to " << FixedText(options.settings.Psnr.back(), 2)
            << " dB [s]: " << FixedText(study.EncodeSeconds, 2) << "\n"
            << "requantizing, writing, reading back, decoding and measuring [s]: "
            << FixedText(study.MeasureSeconds, 2) << "\n";
  if (options.jpeg)
    std::cout << "JPEG and JPEG 2000 [s]: " << FixedText(study.StandardSeconds, 2) << "\n";
  PrintEnvelope(study.Rows);
  for (const std::string& line : bdLines) std::cout << line << "\n";

  if (!options.csv.empty() && !WriteOutput(options.csv, RdCsv(study.Rows))) return 1;
  if (!options.plot.empty()) {
    const std::string title = std::filesystem::path(common.files[0]).filename().string() +
                              ", " + input.MapName;
    if (!WriteOutput(options.plot, RdSvg(study.Rows, pixels, title, bdLines))) return 1;
  }
  return 0;
}

}  // namespace tvlc
