// A temporary module folder for the registry tests: holds links to chosen
// module files and disappears with the object.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace tvlc::test {

inline const std::string kVeskaModule = std::string(TVLC_BIN_DIR) + "/tr_veska.so";

inline std::string TestModule(const std::string& fileName) {
  return std::string(TVLC_TEST_MODULES_DIR) + "/" + fileName;
}

class TModuleFolder {
 public:
  TModuleFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvlc-modules-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      ADD_FAILURE() << "cannot create a temporary module folder";
    }
    path_ = pattern + "/";
  }
  ~TModuleFolder() { std::filesystem::remove_all(path_); }
  TModuleFolder(const TModuleFolder&) = delete;
  TModuleFolder& operator=(const TModuleFolder&) = delete;

  // Links the file into the folder under its own name.
  void Add(const std::string& file) {
    const std::filesystem::path source(file);
    ASSERT_TRUE(std::filesystem::exists(source)) << file;
    std::filesystem::create_symlink(source, path_ + source.filename().string());
  }

  // Folder path with a trailing '/'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A reference of the test's own to a module library of the folder: it keeps
// the library mapped across the registry's unloads, so the counters that the
// test modules export stay readable.
class TLibraryReference {
 public:
  explicit TLibraryReference(const std::string& path)
      : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    EXPECT_NE(handle_, nullptr) << path;
  }
  ~TLibraryReference() {
    if (handle_) {
      dlclose(handle_);
    }
  }
  TLibraryReference(const TLibraryReference&) = delete;
  TLibraryReference& operator=(const TLibraryReference&) = delete;

  template <typename T>
  T* Symbol(const char* name) const {
    return handle_ ? static_cast<T*>(dlsym(handle_, name)) : nullptr;
  }

 private:
  void* handle_;
};

}  // namespace tvlc::test
