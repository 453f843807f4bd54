#include <iomanip>
#include <iostream>

#include "appcore/FloatText.h"
#include "appcore/Statistics.h"
#include "cli/CliCommands.h"
#include "cli/Interrupt.h"
#include "cli/PsnrText.h"
#include "model/formats/ImageFile.h"

namespace tvlc {

namespace {

void PrintShapes(const TMainCore& core, size_t count, bool csv) {
  if (csv)
    std::cout << "name,module_code,trans_code,iterations,psnr\n";
  else
    std::cout << std::left << std::setw(16) << "name" << std::right << std::setw(12)
              << "iterations" << std::setw(12) << "psnr [dB]" << "\n";
  for (size_t i = 0; i < count; ++i) {
    const TShapeItem& item = core.Shapes[i];
    const TShape& s = *item.Shape;
    const std::string psnr = PsnrText(ReachedPSNR(s));
    if (csv)
      std::cout << item.Name << ',' << s.ModuleCode << ',' << s.TransCode << ',' << s.Iterations
                << ',' << psnr << "\n";
    else
      std::cout << std::left << std::setw(16) << item.Name << std::right << std::setw(12)
                << s.Iterations << std::setw(12) << psnr << "\n";
  }
}

// Totals of the shapes done; after a SIGINT the count says how many of all.
void PrintTotals(const TMainCore& core, size_t done, double seconds, bool csv) {
  int64_t iterations = 0;
  double windowPixels = 0.0;
  for (const TShapeItem& item : core.Shapes) {
    iterations += item.Shape->Iterations;
    windowPixels += double(item.Shape->Iterations) * item.Shape->WindowSize();
  }
  const std::optional<double> psnr = DecodedPicturePSNR(core);
  const std::string prefix = csv ? "# " : "";
  std::cout << prefix << "shapes: " << done;
  if (done < core.Shapes.size()) std::cout << " of " << core.Shapes.size() << " (interrupted)";
  std::cout << "\n"
            << prefix << "iterations: " << iterations << "\n"
            << prefix << "wall time [s]: " << std::fixed << std::setprecision(3) << seconds << "\n"
            << prefix << "pixels per second: " << std::setprecision(0)
            << (seconds > 0 ? windowPixels / seconds : 0.0) << "\n"
            << prefix << "decoded picture PSNR [dB]: "
            << (psnr ? PsnrText(*psnr) : "Not available") << "\n";
}

bool WriteImage(const TImage& image, const std::string& path) {
  try {
    WriteImageFile(path, image);
    return true;
  } catch (const std::exception& e) {
    std::cerr << "tvlc-cli: " << e.what() << "\n";
    return false;
  }
}

}  // namespace

int EncodeCommand(const TCliOptions& options) {
  if (options.files.size() != (options.GeneratesMap() ? 1u : 2u))
    return UsageError("encode needs PICTURE and MAP (or PICTURE and --rect or --segment)");
  if (options.psnr.empty()) return UsageError("encode needs --psnr DB");
  TCliSession session(options);
  double seconds = 0.0;
  if (!session.LoadPictureAndMap(options) || !session.EncodeAll(options, seconds)) return 1;
  if (!options.saveProject.empty() && !session.core.Save1Click(options.saveProject)) {
    session.log.Flush(std::cerr);
    return 1;
  }
  if (!session.DecodeAll()) return 1;
  if (!options.out.empty() && !WriteImage(session.core.Reconst, options.out)) return 1;
  const size_t done = session.ShapesDone();
  PrintShapes(session.core, done, options.csv);
  PrintTotals(session.core, done, seconds, options.csv);
  return Interrupted() ? kInterruptedStatus : 0;
}

int StatsCommand(const TCliOptions& options) {
  if (options.files.size() != (options.GeneratesMap() ? 1u : 2u))
    return UsageError("stats needs PICTURE and MAP (or PICTURE and --rect or --segment)");
  if (options.psnr.empty()) return UsageError("stats needs --psnr DB");
  TCliSession session(options);
  double seconds = 0.0;
  if (!session.LoadPictureAndMap(options) || !session.EncodeAll(options, seconds)) return 1;
  if (!session.DecodeAll()) return 1;
  // After a SIGINT: the statistics of the shapes done.
  for (const std::string& line : session.core.Globalstatistics1Click()) std::cout << line << "\n";
  return Interrupted() ? kInterruptedStatus : 0;
}

int DecompressCommand(const TCliOptions& options) {
  if (options.files.size() != 3) return UsageError("decompress needs IN.tvzx, MAP and OUT.bmp");
  TCliSession session(options);
  if (!session.core.LoadMap1Click(options.files[1]) ||
      !session.core.OpenCompressedPicture1Click(options.files[0])) {
    session.log.Flush(std::cerr);
    return 1;
  }
  session.log.Flush(std::cout);
  if (!session.DecodeAll()) return 1;
  return WriteImage(session.core.Reconst, options.files[2]) ? 0 : 1;
}

}  // namespace tvlc
