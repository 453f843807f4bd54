// What every fuzz target shares: the entry point libFuzzer and the replay
// driver call, a quiet host, a scratch folder for the files the commands
// read and write, and the check that turns a broken promise into a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "appcore/Host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace tvlc::fuzz {

// A shell that shows nothing and answers nothing.
class TQuietHost : public THost {
 public:
  double TimeOfDay() const override { return 0.5; }
};

// A folder of this process that holds no modules, removed at exit; the
// current directory while the target runs, since some commands write
// diagnostic files there.
const std::string& ScratchFolder();
// Writes `size` bytes to `name` in the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);
// A fixed input of the targets, from the test data.
std::string DataFile(const std::string& name);

// A broken promise of the code under test: prints the reason and aborts, so
// that libFuzzer and the replay driver report the input.
[[noreturn]] void Finding(const std::string& what);
inline void Expect(bool holds, const std::string& what) {
  if (!holds) Finding(what);
}

}  // namespace tvlc::fuzz
