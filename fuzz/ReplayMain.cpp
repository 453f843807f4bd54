// Runs a fuzz target once on every file given, or on every file of every
// folder given, without fuzzing: the seeds and the saved findings become a
// test of the ordinary build. A finding aborts, which fails the test.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzSupport.h"

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& argument) {
  if (!std::filesystem::is_directory(argument)) return {argument};
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(argument))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  for (int a = 1; a < argc; ++a) {
    if (!std::filesystem::exists(argv[a])) {
      std::fprintf(stderr, "no such file or folder: %s\n", argv[a]);
      return 2;
    }
    for (const auto& path : InputsOf(argv[a])) {
      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
      std::fprintf(stderr, "%s\n", path.c_str());
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  return count ? 0 : 2;
}
