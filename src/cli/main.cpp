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
    "  shapes PICTURE MAP [--csv]\n"
    "      Load a grey picture and a segmentation map and list the shapes:\n"
    "      name, ID, bounding box, point count, rounded window and slacks.\n"
    "      --csv: name,id,left,top,right,bottom,points,rounded_width,rounded_height\n"
    "  modules [--csv]\n"
    "      List the transformation modules found beside the program.\n"
    "      --csv: module_code,module_name,module_version,trans_code,trans_name,\n"
    "             trans_version,listed\n"
    "  encode PICTURE MAP --psnr DB [--transform MODULE:TRANS]\n"
    "         [--quality Q] [--norm KIND] [--out DECODED.bmp|.png]\n"
    "         [--save-project OUT.tvp] [--engine fast|literal] [--threads N]\n"
    "         [--diagnostics DIR] [--grey] [--csv]\n"
    "      Encode every shape to the requested PSNR (default transformation\n"
    "      1:2, DCT II), quantize with quality Q (1..100, 0 = off) and\n"
    "      normalization KIND (0..4 or its name), decode all shapes and print\n"
    "      iterations and PSNR per shape and the totals. A shape that already\n"
    "      meets the request shows 0 iterations and its PSNR as it is; \"inf\"\n"
    "      stands for an exact reconstruction.\n"
    "      Only listed transformations encode (see modules).\n"
    "      --csv: name,module_code,trans_code,iterations,psnr; totals on lines\n"
    "             starting with '#'\n"
    "      --engine literal: encode DCT II shapes with the reference engine\n"
    "             (one transform per iteration) instead of the fast one. In\n"
    "             windows up to 16 x 16 both give the same results bit for bit;\n"
    "             in larger ones both choose the same coefficients except where\n"
    "             the choice or the stop rests on rounding: candidates with equal\n"
    "             gains in exact arithmetic (symmetric content), a request within\n"
    "             about 1e-12 dB of a reached PSNR, and past about 250 dB, where\n"
    "             both choose from rounding noise.\n"
    "      --threads N: code up to N shapes at once when every shape uses the\n"
    "             built-in DCT II (default: one per core); the results, files\n"
    "             and log are the same for every N.\n"
    "  compress PICTURE MAP OUT.tvzx --psnr DB [encode's options]\n"
    "      Encode, write the compressed picture file, read it back, decode, and\n"
    "      print the file size, bits per pixel and the PSNR of the picture the\n"
    "      file gives.\n"
    "  compress PICTURE MAP OUT.tvzx (--target-bpp B | --target-psnr P)\n"
    "      Rate control: search requested PSNR (15 to 50 dB), quality (10, 25,\n"
    "      50, 75, 100) and normalization (0..4) for the highest PSNR whose total\n"
    "      bits per pixel (map included) stay within B, or the smallest file\n"
    "      whose decoded picture reaches P; print the choice, then compress.\n"
    "      --rect auto tries rectangles of 8, 16, 32 and 64 pixels as well.\n"
    "  decompress IN.tvzx MAP OUT.bmp|.png [--threads N]\n"
    "      Read a compressed picture onto the map's shapes, decode them all and\n"
    "      write the decoded picture. Shapes that cannot be decoded are named\n"
    "      on stderr, and nothing is written (status 1).\n"
    "  info PROJECT.tvp\n"
    "      The shapes of a project file with their codes, iterations, PSNR,\n"
    "      quality and normalization.\n"
    "  stats PICTURE MAP --psnr DB [encode's options]\n"
    "      Encode and decode, then print the global statistics.\n"
    "  rd PICTURE MAP [--psnr FROM:TO:STEP] [--quality LIST] [--norm LIST]\n"
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
    "  segment PICTURE OUT_MAP.bmp [--method felzenszwalb] [--scale K]\n"
    "          [--sigma S] [--min-size M]\n"
    "  segment PICTURE OUT_MAP.bmp --method slic [--segments N]\n"
    "          [--compactness C]\n"
    "      Segment the picture and write the map as a 24-bit bitmap.\n"
    "      felzenszwalb: graph-based segmentation (Felzenszwalb and\n"
    "        Huttenlocher); levels scaled to 0..1, Gaussian smoothing by S\n"
    "        (default 0.8, 0 to 50), K / 255 the threshold constant k (larger:\n"
    "        fewer regions; default 250), regions below M pixels merged\n"
    "        (default 100).\n"
    "      slic: SLIC superpixels; about N regions (default 400), compactness C\n"
    "        (default 0.3; larger: squarer regions), every region connected.\n"
    "      Region n (numbered by first appearance, rows top to bottom, each\n"
    "      left to right, from 0) has the colour value (n + 1) * 0x9E3779\n"
    "      modulo 2^24: region 0 is 9E3779, region 1 3C6EF2, region 2 DAA66B,\n"
    "      so its shape is named \"Shape 9E3779\" and so on.\n"
    "\n"
    "  encode, compress, stats and rd take --rect WIDTHxHEIGHT instead of MAP:\n"
    "  the picture is covered by a generated map of equal rectangles; or\n"
    "  --segment METHOD[:key=value,...] instead of MAP: the picture is\n"
    "  segmented as segment does it, the keys being the options of segment\n"
    "  without their dashes (felzenszwalb:scale=500,min-size=50,\n"
    "  slic:segments=300). --save-map OUT.bmp writes the map used (decompress\n"
    "  needs it).\n"
    "\n"
    "  Pictures and maps are BMP, PNG, TIFF, PGM/PPM or (pictures only) JPEG\n"
    "  files, told apart by their content. A colour picture is refused unless\n"
    "  --grey is given: then it is converted to grey levels (BT.601 luma,\n"
    "  round(0.299 R + 0.587 G + 0.114 B)). Decoded pictures are written as\n"
    "  PNG when the name ends in .png, as bitmaps otherwise.\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this help\n"
    "  --diagnostics DIR\n"
    "               encoding and decoding write the diagnostic bitmaps\n"
    "               (SEGMENT_*.BMP) of every shape into DIR; without it, none\n"
    "\n"
    "Transformation modules (tr_*.so) are loaded from the program's directory.\n"
    "Ctrl-C during encode, compress or stats stops after the shape in hand:\n"
    "encode reports the shapes done (and writes --out of them), stats their\n"
    "statistics, compress writes nothing; the exit status is 130. A second\n"
    "Ctrl-C ends the program at once.\n"
    "Exit status: 0 on success, 1 when a file is refused or a command fails,\n"
    "2 on a usage error, 130 when interrupted.\n";

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
  if (options.command == "segment") return SegmentCommand(options);
  return UsageError("unknown command " + options.command);
}
