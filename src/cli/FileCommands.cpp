#include <filesystem>
#include <iomanip>
#include <iostream>

#include "appcore/Statistics.h"
#include "cli/CliCommands.h"
#include "cli/Interrupt.h"
#include "cli/PsnrText.h"

namespace tvlc {

int CompressCommand(const TCliOptions& options) {
  if (options.targetBpp || options.targetPsnr) return CompressToTarget(options);
  if (options.files.size() != (options.GeneratesMap() ? 2u : 3u))
    return UsageError("compress needs PICTURE, MAP (or --rect or --segment) and OUT.tvzx");
  if (options.psnr.empty()) return UsageError("compress needs --psnr DB");
  TCliSession session(options);
  double seconds = 0.0;
  if (!session.LoadPictureAndMap(options) || !session.EncodeAll(options, seconds)) return 1;
  const std::string& out = options.files.back();
  // The file needs every shape: a stopped encode writes none.
  if (Interrupted()) {
    std::cerr << "tvlc-cli: interrupted after " << session.ShapesDone() << " of "
              << session.core.Shapes.size() << " shapes; " << out << " not written\n";
    return kInterruptedStatus;
  }
  if (!session.core.ExportSpectrum1Click(out)) {
    session.log.Flush(std::cerr);
    return 1;
  }
  // The file holds rounded coefficients: its PSNR is that of the spectra
  // read back from it, not of those the encode made.
  if (!session.core.OpenCompressedPicture1Click(out)) {
    session.log.Flush(std::cerr);
    return 1;
  }
  session.log.Skip();
  if (!session.DecodeAll()) return 1;
  const uintmax_t bytes = std::filesystem::file_size(out);
  const double pixels = double(session.core.PicWidth) * session.core.PicHeight;
  const std::optional<double> psnr = DecodedPicturePSNR(session.core);
  std::cout << "file size [bytes]: " << bytes << "\n"
            << "bits per pixel: " << std::fixed << std::setprecision(4)
            << double(bytes) * 8.0 / pixels << "\n"
            << "decoded picture PSNR [dB]: " << (psnr ? PsnrText(*psnr) : "Not available") << "\n";
  return 0;
}

int InfoCommand(const TCliOptions& options) {
  if (options.files.size() != 1) return UsageError("info needs PROJECT.tvp");
  TCliSession session(options);
  if (!session.core.Open1Click(options.files[0])) {
    session.log.Flush(std::cerr);
    return 1;
  }
  session.log.Flush(std::cout);
  std::cout << std::left << std::setw(16) << "name" << std::right << std::setw(8) << "module"
            << std::setw(7) << "trans" << std::setw(12) << "iterations" << std::setw(11)
            << "psnr [dB]" << std::setw(9) << "quality" << "  normalization\n";
  for (const TShapeItem& item : session.core.Shapes) {
    const TShape& s = *item.Shape;
    std::cout << std::left << std::setw(16) << item.Name << std::right << std::setw(8)
              << s.ModuleCode << std::setw(7) << s.TransCode << std::setw(12) << s.Iterations
              << std::setw(11) << PsnrText(s.PSNR) << std::setw(9) << int(s.Quality) << "  "
              << kNormKindNames[s.NormKind] << "\n";
  }
  return 0;
}

}  // namespace tvlc
