#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tvlc::fuzz {

namespace {

void RemoveScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchFolder(), ignored);
}

}  // namespace

const std::string& ScratchFolder() {
  // Never destroyed: the exit handler that removes the folder needs it.
  static const std::string& folder = *new std::string([] {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tvlc-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
    std::atexit(RemoveScratch);
    return path.string();
  }());
  return folder;
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  if (!out.flush()) Finding("cannot write the scratch file " + path);
  return path;
}

std::string DataFile(const std::string& name) {
  return std::string(TVLC_FUZZ_DATA) + "/" + name;
}

void Finding(const std::string& what) {
  std::fprintf(stderr, "FINDING: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace tvlc::fuzz
