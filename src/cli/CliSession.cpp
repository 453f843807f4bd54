#include <chrono>
#include <iostream>

#include "cli/CliCommands.h"
#include "coding/TransformShape.h"

namespace tvlc {

namespace {

bool HasTransformation(const TModuleRegistry& registry, int32_t moduleCode, int32_t transCode) {
  for (const TModuleRegistry::TModuleRow& row : registry.Modules()) {
    if (row.Header->ModuleCode != moduleCode) continue;
    for (int32_t i = 0; const TTransDescriptor* d = TransformationAt(*row.Header, i); ++i)
      if (d->TransCode == transCode) return true;
  }
  return false;
}

}  // namespace

bool TCliSession::LoadInputs(const std::string& picture, const std::string& map, bool echo) {
  const bool ok = core.LoadPicture1Click(picture) && core.LoadMap1Click(map);
  if (!ok)
    log.Flush(std::cerr);
  else if (echo)
    log.Flush(std::cout);
  else
    log.Skip();
  return ok;
}

bool TCliSession::LoadPictureAndMap(const TCliOptions& options) {
  if (!options.GeneratesMap()) {
    if (!LoadInputs(options.files[0], options.files[1], false)) return false;
  } else {
    const bool ok = core.LoadPicture1Click(options.files[0]) &&
                    (options.segment ? core.GenerateSegmentation(options.segmentation)
                                     : core.GenerateRectangles(options.rectWidth,
                                                               options.rectHeight));
    if (!ok) {
      log.Flush(std::cerr);
      return false;
    }
  }
  if (!options.saveMap.empty() && !core.SaveMap1Click(options.saveMap)) {
    log.Flush(std::cerr);
    return false;
  }
  log.Skip();
  return true;
}

bool TCliSession::EncodeAll(const TCliOptions& options, double& seconds) {
  if (!HasTransformation(core.Registry, options.moduleCode, options.transCode)) {
    std::cerr << "tvlc-cli: unknown transformation " << options.moduleCode << ':'
              << options.transCode << " (see tvlc-cli modules)\n";
    return false;
  }
  core.Registry.DefModuleCode = options.moduleCode;
  core.Registry.DefTransCode = options.transCode;
  core.Registry.ForceDefModule = true;
  core.Controls.ReqPSNRText = options.psnr;
  core.Controls.UseQSpecChecked = options.quality > 0;
  core.Controls.QuantQuality = options.quality;
  core.Controls.NormComboIndex = options.normKind;

  SetEngineChoice(options.engine == "literal" ? TEngineChoice::Literal : TEngineChoice::Fast);
  core.Threads = options.threads;
  const auto start = std::chrono::steady_clock::now();
  core.EncAllBtnClick();
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (core.EncodeFailures) {
    log.Flush(std::cerr);
    return false;
  }
  // Quality and normalization of every shape as asked; selecting shapes
  // during the encode moved the normalization choice to theirs.
  core.Controls.NormComboIndex = options.normKind;
  core.RequantBtnClick();
  log.Skip();
  return true;
}

void TCliSession::DecodeAll() {
  core.DecAllBtnClick();
  log.Skip();
}

}  // namespace tvlc
