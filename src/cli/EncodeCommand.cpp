#include <chrono>
#include <iomanip>
#include <iostream>

#include "appcore/FloatText.h"
#include "appcore/Statistics.h"
#include "cli/CliCommands.h"
#include "model/Bmp.h"

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

void PrintShapes(const TMainCore& core, bool csv) {
  if (csv)
    std::cout << "name,module_code,trans_code,iterations,psnr\n";
  else
    std::cout << std::left << std::setw(16) << "name" << std::right << std::setw(12)
              << "iterations" << std::setw(12) << "psnr [dB]" << "\n";
  for (const TShapeItem& item : core.Shapes) {
    const TShape& s = *item.Shape;
    if (csv)
      std::cout << item.Name << ',' << s.ModuleCode << ',' << s.TransCode << ',' << s.Iterations
                << ',' << Fixed2(s.PSNR) << "\n";
    else
      std::cout << std::left << std::setw(16) << item.Name << std::right << std::setw(12)
                << s.Iterations << std::setw(12) << Fixed2(s.PSNR) << "\n";
  }
}

void PrintTotals(const TMainCore& core, double seconds, bool csv) {
  int64_t iterations = 0;
  double windowPixels = 0.0;
  for (const TShapeItem& item : core.Shapes) {
    iterations += item.Shape->Iterations;
    windowPixels += double(item.Shape->Iterations) * item.Shape->WindowSize();
  }
  const std::optional<double> psnr = DecodedPicturePSNR(core);
  const std::string prefix = csv ? "# " : "";
  std::cout << prefix << "shapes: " << core.Shapes.size() << "\n"
            << prefix << "iterations: " << iterations << "\n"
            << prefix << "wall time [s]: " << std::fixed << std::setprecision(3) << seconds << "\n"
            << prefix << "pixels per second: " << std::setprecision(0)
            << (seconds > 0 ? windowPixels / seconds : 0.0) << "\n"
            << prefix << "decoded picture PSNR [dB]: " << (psnr ? Fixed2(*psnr) : "Not available")
            << "\n";
}

}  // namespace

int EncodeCommand(const TCliOptions& options) {
  if (options.files.size() != 2) return UsageError("encode needs PICTURE and MAP");
  if (options.psnr.empty()) return UsageError("encode needs --psnr DB");
  TCliSession session;
  TMainCore& core = session.core;
  if (!HasTransformation(core.Registry, options.moduleCode, options.transCode)) {
    std::cerr << "tvlc-cli: unknown transformation " << options.moduleCode << ':'
              << options.transCode << " (see tvlc-cli modules)\n";
    return 1;
  }
  if (!session.LoadInputs(options.files[0], options.files[1], false)) return 1;

  core.Registry.DefModuleCode = options.moduleCode;
  core.Registry.DefTransCode = options.transCode;
  core.Registry.ForceDefModule = true;
  core.Controls.ReqPSNRText = options.psnr;
  core.Controls.UseQSpecChecked = options.quality > 0;
  core.Controls.QuantQuality = options.quality;
  core.Controls.NormComboIndex = options.normKind;

  const auto start = std::chrono::steady_clock::now();
  core.EncAllBtnClick();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (core.EncodeFailures) {
    session.log.Flush(std::cerr);
    return 1;
  }
  core.RequantBtnClick();
  core.DecAllBtnClick();
  session.log.Skip();

  if (!options.out.empty()) {
    try {
      WriteBmpFile(options.out, core.Reconst);
    } catch (const std::exception& e) {
      std::cerr << "tvlc-cli: " << e.what() << "\n";
      return 1;
    }
  }
  PrintShapes(core, options.csv);
  PrintTotals(core, seconds, options.csv);
  return 0;
}

}  // namespace tvlc
