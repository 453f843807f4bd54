#include "base/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <streambuf>

namespace tvlc {

namespace {

namespace fs = std::filesystem;

// As many links as the kernel follows in one path.
constexpr int kMaxLinkHops = 40;
// Names tried for the new file before giving up.
constexpr int kTemporaryAttempts = 100;
constexpr mode_t kPermissionBits = 07777;

TFileWriteError Failure(const std::string& path, const std::string& why) {
  return TFileWriteError("cannot write file " + path + ": " + why);
}

std::string ErrnoText(int error) { return std::strerror(error); }

// An output stream buffer over a file descriptor that remembers the first
// failed write.
class TDescriptorBuffer : public std::streambuf {
 public:
  explicit TDescriptorBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
  int Error() const { return error_; }

 protected:
  int overflow(int c) override {
    if (sync() != 0) return traits_type::eof();
    if (c != traits_type::eof()) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override {
    if (error_) return -1;
    for (const char* p = pbase(); p < pptr();) {
      const ssize_t written = ::write(fd_, p, size_t(pptr() - p));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error_ = written < 0 ? errno : EIO;
        return -1;
      }
      p += written;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return 0;
  }

 private:
  int fd_;
  int error_ = 0;
  char buffer_[1 << 16];
};

// Runs the content writer on an open descriptor; throws when anything fails.
void WriteContent(int fd, const std::string& path, const TContentWriter& write) {
  TDescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  write(out);
  out.flush();
  if (buffer.Error()) throw Failure(path, ErrnoText(buffer.Error()));
  if (!out) throw Failure(path, "the content could not be written");
}

// Paths that name a descriptor of this process (/dev/stdout, /dev/fd/1,
// /proc/self/fd/1) or a device: renaming a file over them would be wrong.
bool IsDevicePath(const std::string& path) {
  return path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
}

void WriteDirectly(const std::string& path, const TContentWriter& write) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) throw Failure(path, ErrnoText(errno));
  try {
    WriteContent(fd, path, write);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) throw Failure(path, ErrnoText(errno));
}

// The file a chain of symbolic links ends at, which need not exist yet.
fs::path FinalTarget(const std::string& path) {
  fs::path target = path;
  std::error_code error;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
    if (hops == kMaxLinkHops) throw Failure(path, "too many levels of symbolic links");
    const fs::path next = fs::read_symlink(target, error);
    if (error) throw Failure(path, error.message());
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

// Refuses, before anything is created, what the rename could not do or
// should not do.
void CheckReplaceable(const std::string& path, const fs::path& target, bool exists) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    const int error = errno;
    if (error == ENOENT) throw Failure(path, "folder " + folder.string() + " does not exist");
    throw Failure(path,
                  "folder " + folder.string() + " is not writable (" + ErrnoText(error) + ")");
  }
  // The rename could replace a write-protected file; its owner meant it to stay.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    throw Failure(path, "the file is write-protected (" + ErrnoText(errno) + ")");
}

// A new file beside the target, removed again unless Commit renames it over
// the target.
class TTemporaryFile {
 public:
  TTemporaryFile(const std::string& path, const fs::path& target) : path_(path) {
    const std::string stem = target.string() + ".saving-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; fd_ < 0; ++attempt) {
      name_ = stem + std::to_string(attempt);
      fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && (errno != EEXIST || attempt + 1 == kTemporaryAttempts))
        throw Failure(path, ErrnoText(errno));
    }
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }

  int Descriptor() const { return fd_; }

  // The new file gets the permissions of the one it replaces.
  void TakeOver(const struct stat& old) {
    if (::fchmod(fd_, old.st_mode & kPermissionBits) != 0) throw Failure(path_, ErrnoText(errno));
  }

  // Flushes the data to the disk and renames the file over the target.
  void Commit(const fs::path& target) {
    if (::fsync(fd_) != 0) throw Failure(path_, ErrnoText(errno));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw Failure(path_, ErrnoText(errno));
    if (::rename(name_.c_str(), target.c_str()) != 0) throw Failure(path_, ErrnoText(errno));
    name_.clear();
    SyncFolder(target);
  }

 private:
  // The rename itself reaches the disk with the folder.
  static void SyncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }

  std::string path_;
  std::string name_;
  int fd_ = -1;
};

}  // namespace

void ReplaceFile(const std::string& path, const TContentWriter& write) {
  if (path.empty()) throw TFileWriteError("cannot write a file without a name");
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) throw Failure(path, "it is a folder");
  if (IsDevicePath(path) || (exists && !S_ISREG(old.st_mode))) {
    WriteDirectly(path, write);
    return;
  }
  const fs::path target = FinalTarget(path);
  CheckReplaceable(path, target, exists);
  TTemporaryFile temporary(path, target);
  if (exists) temporary.TakeOver(old);
  WriteContent(temporary.Descriptor(), path, write);
  temporary.Commit(target);
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  ReplaceFile(
      path, [bytes](std::ostream& out) { out.write(bytes.data(), std::streamsize(bytes.size())); });
}

}  // namespace tvlc
