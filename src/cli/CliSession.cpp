#include <chrono>
#include <iostream>
#include <set>

#include "cli/CliCommands.h"
#include "cli/Interrupt.h"
#include "coding/TransformShape.h"

namespace tvlc {

namespace {

// Encoding takes the transformations the selection dialog offers: those of
// a loaded module that are listed. An unlisted one (the built-in FFT) is
// kept only to read files that use it.
bool CanEncodeWith(const TModuleRegistry& registry, int32_t moduleCode, int32_t transCode) {
  for (const TModuleRegistry::TModuleRow& row : registry.Modules()) {
    if (row.Header->ModuleCode != moduleCode) continue;
    for (int32_t i = 0; const TTransDescriptor* d = TransformationAt(*row.Header, i); ++i) {
      if (d->TransCode != transCode) continue;
      if (d->Listed) return true;
      std::cerr << "tvlc-cli: transformation " << moduleCode << ':' << transCode << " ("
                << (d->Name ? d->Name : "") << ") is not listed and cannot encode; "
                << "use a listed one (see tvlc-cli modules)\n";
      return false;
    }
  }
  std::cerr << "tvlc-cli: unknown transformation " << moduleCode << ':' << transCode
            << " (see tvlc-cli modules)\n";
  return false;
}

}  // namespace

TCliSession::TCliSession(const TCliOptions& options) {
  core.Diagnostics = {!options.diagnostics.empty(), options.diagnostics};
  host.ConvertColours = options.grey;
  core.Threads = options.threads;
}

bool TCliSession::LoadInputs(const TCliOptions& options, bool echo) {
  const bool ok =
      core.LoadPicture1Click(options.files[0]) && core.LoadMap1Click(options.files[1]);
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
    if (!LoadInputs(options, false)) return false;
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
  if (!CanEncodeWith(core.Registry, options.moduleCode, options.transCode)) return false;
  core.Registry.DefModuleCode = options.moduleCode;
  core.Registry.DefTransCode = options.transCode;
  core.Registry.ForceDefModule = true;
  core.Controls.ReqPSNRText = options.psnr;
  core.Controls.UseQSpecChecked = options.quality > 0;
  core.Controls.QuantQuality = options.quality;
  core.Controls.NormComboIndex = options.normKind;

  SetEngineChoice(options.engine == "literal" ? TEngineChoice::Literal : TEngineChoice::Fast);
  CatchInterrupt();
  const auto start = std::chrono::steady_clock::now();
  // A SIGINT during the loads leaves nothing to encode.
  if (!Interrupted()) {
    host.OnInterrupt = [this] { core.StopBtnClick(); };
    core.EncAllBtnClick();
    host.OnInterrupt = nullptr;
  }
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

size_t TCliSession::ShapesDone() const {
  size_t done = 0;
  while (done < core.Shapes.size() && core.Shapes[done].Shape->HasSpectrum()) ++done;
  return done;
}

bool TCliSession::DecodeAll() {
  core.DecAllBtnClick();
  log.Skip();
  // After a SIGINT the shapes the batch did not reach have nothing to decode.
  std::set<std::string> notReached;
  if (Interrupted())
    for (size_t i = ShapesDone(); i < core.Shapes.size(); ++i) notReached.insert(core.Shapes[i].Name);
  bool all = true;
  for (const std::string& name : core.UndecodedShapes) {
    if (notReached.count(name)) continue;
    std::cerr << "tvlc-cli: Unable to decode shape " << name << "\n";
    all = false;
  }
  return all;
}

}  // namespace tvlc
