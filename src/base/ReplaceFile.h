// The one way the program writes a file. A write that is refused or fails
// half-way leaves an existing file byte for byte as it was:
//
// - The content goes to a new file beside the target, is flushed to the disk
//   and only then renamed over the target. A symbolic link is followed: its
//   final target is replaced and the link stays a link. The replacement keeps
//   the old file's permission bits.
// - A folder that cannot take the new file, a target that is a folder or a
//   file without write permission is refused before anything is created.
// - Devices, pipes and the descriptors of /dev and /proc (`/dev/stdout`) are
//   written directly, since they cannot be replaced.
#pragma once

#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tvlc {

// A file that could not be written; the message names the file and says why.
class TFileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the file's whole content into the stream. An exception from it
// abandons the write (the target stays as it was) and is passed on.
using TContentWriter = std::function<void(std::ostream&)>;

// Throws TFileWriteError.
void ReplaceFile(const std::string& path, const TContentWriter& write);
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace tvlc
