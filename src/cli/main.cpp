// tvlc-cli: the codec's commands without a window, over the same core as
// the desktop program.
#include <iostream>
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
    "      Encode, write the compressed picture file, read it back, decode, and\n"
    "      print the file size, bits per pixel and the PSNR of the picture the\n"
    "      file gives.\n"
    "  decompress IN.tvzx MAP.bmp OUT.bmp\n"
    "      Read a compressed picture onto the map's shapes, decode them all and\n"
    "      write the decoded picture. Shapes that cannot be decoded are named\n"
    "      on stderr, and nothing is written (status 1).\n"
    "  info PROJECT.tvp\n"
    "      The shapes of a project file with their codes, iterations, PSNR,\n"
    "      quality and normalization.\n"
    "  stats PICTURE.bmp MAP.bmp --psnr DB [encode's options]\n"
    "      Encode and decode, then print the global statistics.\n"
    "\n"
    "  encode, compress and stats take --rect WIDTHxHEIGHT instead of MAP.bmp:\n"
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
  const std::vector<std::string> words(argv + 1, argv + argc);
  for (const std::string& w : words)
    if (w == "-h" || w == "--help") {
      std::cout << kUsage;
      return 0;
    }
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
