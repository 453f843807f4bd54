// tvlc-cli: the codec's commands without a window, over the same core as
// the desktop program.
#include <iostream>
#include <locale>
#include <string>
#include <vector>

#include "cli/CliCommands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tvlc-cli COMMAND [OPTIONS] FILES...\n"
    "\n"
    "Commands:\n"
    "  shapes PICTURE.bmp MAP.bmp [--csv]\n"
    "      Load a grey picture and a segmentation map and list the shapes:\n"
    "      name, ID, bounding box, point count, rounded window and slacks.\n"
    "      --csv: name,id,left,top,right,bottom,points,rounded_width,rounded_height\n"
    "  modules [--csv]\n"
    "      List the transformation modules found beside the program.\n"
    "      --csv: module_code,module_name,module_version,trans_code,trans_name,\n"
    "             trans_version,listed\n"
    "  encode PICTURE.bmp MAP.bmp --psnr DB [--transform MODULE:TRANS]\n"
    "         [--quality Q] [--norm KIND] [--out DECODED.bmp]\n"
    "         [--save-project OUT.tvp] [--engine fast|literal] [--csv]\n"
    "      Encode every shape to the requested PSNR (default transformation\n"
    "      1:2, DCT II), quantize with quality Q (1..100, 0 = off) and\n"
    "      normalization KIND (0..4 or its name), decode all shapes and print\n"
    "      iterations and PSNR per shape and the totals.\n"
    "      --csv: name,module_code,trans_code,iterations,psnr; totals on lines\n"
    "             starting with '#'\n"
    "      --engine literal: encode DCT II shapes with the reference engine\n"
    "             (one transform per iteration) instead of the fast one; both\n"
    "             choose the same coefficients.\n"
    "  compress PICTURE.bmp MAP.bmp OUT.tvzx --psnr DB [encode's options]\n"
    "      Encode, write the compressed picture file, decode, and print the\n"
    "      file size, bits per pixel and the decoded picture's PSNR.\n"
    "  compress PICTURE.bmp MAP.bmp OUT.tvzx (--target-bpp B | --target-psnr P)\n"
    "      Rate control: search requested PSNR (15 to 50 dB), quality (10, 25,\n"
    "      50, 75, 100) and normalization (0..4) for the highest PSNR whose total\n"
    "      bits per pixel (map included) stay within B, or the smallest file\n"
    "      whose decoded picture reaches P; print the choice, then compress.\n"
    "      --rect auto tries rectangles of 8, 16, 32 and 64 pixels as well.\n"
    "  decompress IN.tvzx MAP.bmp OUT.bmp\n"
    "      Read a compressed picture onto the map's shapes, decode them all and\n"
    "      write the decoded picture.\n"
    "  info PROJECT.tvp\n"
    "      The shapes of a project file with their codes, iterations, PSNR,\n"
    "      quality and normalization.\n"
    "  stats PICTURE.bmp MAP.bmp --psnr DB [encode's options]\n"
    "      Encode and decode, then print the global statistics.\n"
    "  rd PICTURE.bmp MAP.bmp [--psnr FROM:TO:STEP] [--quality LIST] [--norm LIST]\n"
    "     [--transform MODULE:TRANS] [--jpeg] [--csv OUT.csv] [--plot OUT.svg]\n"
    "      Rate-distortion study: every requested PSNR (default 20:45:0.5) with\n"
    "      every quality (default 50) and normalization (default 2), each shape\n"
    "      encoded once. Prints the envelope (best PSNR for the bits); --csv\n"
    "      writes every setting, --plot the curves as SVG. The map's cost is\n"
    "      its labels coded without loss (deflated raster scan of label\n"
    "      changes); generated rectangles cost nothing. --jpeg adds JPEG at\n"
    "      qualities 5..95 and JPEG 2000 at the same sizes, and the\n"
    "      Bjontegaard deltas of the envelope against them.\n"
    "\n"
    "  encode, compress, stats and rd take --rect WIDTHxHEIGHT instead of MAP.bmp:\n"
    "  the picture is covered by a generated map of equal rectangles.\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this help\n"
    "\n"
    "Transformation modules (tr_*.so) are loaded from the program's directory.\n"
    "Like the desktop program, encoding and decoding write diagnostic bitmaps\n"
    "(SEGMENT_*.BMP) into the current directory.\n"
    "Exit status: 0 on success, 1 when a file is refused or a command fails,\n"
    "2 on a usage error.\n";

}  // namespace

namespace tvlc {

int UsageError(const std::string& message) {
  std::cerr << "tvlc-cli: " << message << "\nTry 'tvlc-cli --help'.\n";
  return 2;
}

}  // namespace tvlc

int main(int argc, char** argv) {
  using namespace tvlc;
  // Numbers print with a decimal point and no digit grouping, whatever
  // locale a library may have made the global one.
  for (std::ostream* stream : {&std::cout, &std::cerr}) stream->imbue(std::locale::classic());
  const std::vector<std::string> words(argv + 1, argv + argc);
  for (const std::string& w : words)
    if (w == "-h" || w == "--help") {
      std::cout << kUsage;
      return 0;
    }
  if (!words.empty() && words[0] == "rd") return RdCommand(words);
  TCliOptions options;
  try {
    options = ParseCliOptions(words);
  } catch (const std::invalid_argument& e) {
    return UsageError(e.what());
  }
  if (options.command == "shapes") return ShapesCommand(options);
  if (options.command == "modules") return ModulesCommand(options);
  if (options.command == "encode") return EncodeCommand(options);
  if (options.command == "compress") return CompressCommand(options);
  if (options.command == "decompress") return DecompressCommand(options);
  if (options.command == "info") return InfoCommand(options);
  if (options.command == "stats") return StatsCommand(options);
  return UsageError("unknown command " + options.command);
}
