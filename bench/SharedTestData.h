// Where the benchmarks find the large pictures: the shared test data beside
// the repository (TVLC_SHARED_TESTDATA, or the environment variable of that
// name). Benchmarks skip what is not there.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tvlc {

inline std::string SharedFile(const std::string& name) {
  const char* folder = std::getenv("TVLC_SHARED_TESTDATA");
  return std::string(folder ? folder : TVLC_SHARED_TESTDATA) + "/" + name;
}

inline bool SharedFilesPresent(std::initializer_list<std::string> paths) {
  for (const std::string& path : paths)
    if (!std::filesystem::exists(path)) return false;
  return true;
}

}  // namespace tvlc
