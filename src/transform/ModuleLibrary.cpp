#include "transform/ModuleLibrary.h"

#include <dlfcn.h>
#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tvlc {

namespace {
constexpr const char* kModulePattern = "tr_*.so";
}

std::vector<std::string> FindModuleFiles(const std::string& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> paths;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (fnmatch(kModulePattern, name.c_str(), 0) == 0) {
      paths.push_back(it->path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

TModuleHeader* OpenModuleLibrary(const std::string& path) {
  // RTLD_NOW: a module with unresolved symbols is refused here rather than
  // failing in the middle of an encode.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    return nullptr;
  }
  auto getHeader = reinterpret_cast<TGetModuleHeaderProc>(dlsym(handle, "GetModuleHeader"));
  TModuleHeader* header = getHeader ? getHeader() : nullptr;
  if (!header || header->InterfaceVersion != TVLC_INTERFACE_VERSION) {
    dlclose(handle);
    return nullptr;
  }
  header->LibHandle = handle;
  return header;
}

void CloseModuleLibrary(TModuleHeader& header) {
  if (header.LibHandle) {
    dlclose(header.LibHandle);
  }
}

}  // namespace tvlc
