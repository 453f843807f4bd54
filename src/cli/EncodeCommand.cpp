#include <iomanip>
#include <iostream>

#include "appcore/FloatText.h"
#include "appcore/Statistics.h"
#include "cli/CliCommands.h"
#include "model/Bmp.h"

namespace tvlc {

namespace {

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

bool WriteImage(const TImage& image, const std::string& path) {
  try {
    WriteBmpFile(path, image);
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
  TCliSession session;
  double seconds = 0.0;
  if (!session.LoadPictureAndMap(options) || !session.EncodeAll(options, seconds)) return 1;
  if (!options.saveProject.empty() && !session.core.Save1Click(options.saveProject)) {
    session.log.Flush(std::cerr);
    return 1;
  }
  session.DecodeAll();
  if (!options.out.empty() && !WriteImage(session.core.Reconst, options.out)) return 1;
  PrintShapes(session.core, options.csv);
  PrintTotals(session.core, seconds, options.csv);
  return 0;
}

int StatsCommand(const TCliOptions& options) {
  if (options.files.size() != (options.GeneratesMap() ? 1u : 2u))
    return UsageError("stats needs PICTURE and MAP (or PICTURE and --rect or --segment)");
  if (options.psnr.empty()) return UsageError("stats needs --psnr DB");
  TCliSession session;
  double seconds = 0.0;
  if (!session.LoadPictureAndMap(options) || !session.EncodeAll(options, seconds)) return 1;
  session.DecodeAll();
  for (const std::string& line : session.core.Globalstatistics1Click()) std::cout << line << "\n";
  return 0;
}

int DecompressCommand(const TCliOptions& options) {
  if (options.files.size() != 3) return UsageError("decompress needs IN.tvzx, MAP and OUT.bmp");
  TCliSession session;
  session.core.Threads = options.threads;
  if (!session.core.LoadMap1Click(options.files[1]) ||
      !session.core.OpenCompressedPicture1Click(options.files[0])) {
    session.log.Flush(std::cerr);
    return 1;
  }
  session.log.Flush(std::cout);
  session.DecodeAll();
  return WriteImage(session.core.Reconst, options.files[2]) ? 0 : 1;
}

}  // namespace tvlc
