// tvlc-cli compress --target-bpp / --target-psnr: rate control by search.
#include <iostream>

#include "appcore/StudyInput.h"
#include "base/NumberText.h"
#include "cli/CliCommands.h"
#include "study/RateControl.h"

namespace tvlc {

namespace {

// The rectangle sizes --rect auto tries.
constexpr int kAutoRectSizes[] = {8, 16, 32, 64};

struct TTargetChoice {
  TRdRow Row;
  int RectSize = 0;  // 0 unless --rect auto
};

// Searches the settings on the loaded picture and map (or, with `rectSize`,
// rectangles of that size); false with a message on failure.
bool SearchOne(const TCliOptions& options, int rectSize, const TRateSearch& search,
               std::optional<TTargetChoice>& best, size_t& tried) {
  TCliOptions load = options;
  if (rectSize) load.rectWidth = load.rectHeight = rectSize;
  // The map is saved once, by the compress with the chosen settings.
  load.saveMap.clear();
  TCliSession session(load);
  if (!session.LoadPictureAndMap(load)) return false;
  TMainCore& core = session.core;
  const TSweepInput input = StudyInputOf(core, core.Shapes, "", load.rectWidth != 0);
  TRegionCoder coder(input, options.moduleCode, options.transCode);
  std::string error = coder.Encode(RateSearchLevels());
  TRateChoice choice;
  if (error.empty()) {
    choice = SearchRate(coder, search);
    error = choice.Error;
  }
  if (!error.empty()) {
    std::cerr << "tvlc-cli: " << error << "\n";
    return false;
  }
  tried += choice.Tried;
  if (choice.Chosen && (!best || BetterForGoal(*choice.Chosen, best->Row, search.Goal)))
    best = TTargetChoice{*choice.Chosen, rectSize};
  return true;
}

}  // namespace

int CompressToTarget(const TCliOptions& options) {
  const bool generated = options.GeneratesMap() || options.rectAuto;
  if (options.files.size() != (generated ? 2u : 3u))
    return UsageError(
        "compress needs PICTURE, MAP (or --rect WxH or auto, or --segment) and OUT.tvzx");
  if (!options.psnr.empty())
    return UsageError("--psnr and a target exclude each other: the search chooses the PSNR");
  TRateSearch search;
  search.Goal = options.targetBpp ? TRateGoal::WithinBpp : TRateGoal::ReachPsnr;
  search.Target = options.targetBpp ? *options.targetBpp : *options.targetPsnr;

  std::optional<TTargetChoice> best;
  size_t tried = 0;
  if (options.rectAuto) {
    for (int size : kAutoRectSizes)
      if (!SearchOne(options, size, search, best, tried)) return 1;
  } else if (!SearchOne(options, 0, search, best, tried)) {
    return 1;
  }
  if (!best) {
    std::cerr << "tvlc-cli: no setting " << (options.targetBpp ? "stays within " : "reaches ")
              << FixedText(search.Target, 4) << (options.targetBpp ? " bpp" : " dB") << " ("
              << tried << " tried)\n";
    return 1;
  }
  TCliOptions chosen = options;
  chosen.targetBpp.reset();
  chosen.targetPsnr.reset();
  chosen.rectAuto = false;
  if (best->RectSize) chosen.rectWidth = chosen.rectHeight = best->RectSize;
  chosen.psnr = FixedText(*best->Row.RequestedPsnr, 2);
  chosen.quality = *best->Row.Quality;
  chosen.normKind = *best->Row.Norm;
  std::cout << "chosen: --psnr " << chosen.psnr << " --quality " << chosen.quality
            << " --norm " << chosen.normKind;
  if (best->RectSize) std::cout << " --rect " << best->RectSize << "x" << best->RectSize;
  std::cout << " (" << tried << " settings tried)\n"
            << "map size [bytes]: " << best->Row.MapBytes << "\n"
            << "total bits per pixel (map included): " << FixedText(best->Row.Bpp, 4) << "\n";
  return CompressCommand(chosen);
}

}  // namespace tvlc
