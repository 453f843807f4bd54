// The command-line front end's host: no window, log lines go to a stream.
#pragma once

#include <functional>
#include <iosfwd>

#include "appcore/Host.h"
#include "appcore/MainCore.h"

namespace tvlc {

class TCliHost : public THost {
 public:
  void ErrorBox(const std::string& text) override;
  // Where a long command lets input in: the first poll after a SIGINT runs
  // OnInterrupt once, as a click on the window's Stop would.
  void ProcessPendingInput() override;
  std::function<void()> OnInterrupt;
  // --grey answers the question whether to convert a colour picture.
  bool Question(const std::string& text) override;
  bool ConvertColours = false;

 private:
  bool interruptDelivered_ = false;
};

// Writes the log lines added since the last call.
class TLogPrinter {
 public:
  explicit TLogPrinter(const TMainCore& core) : core_(core) {}
  void Flush(std::ostream& out);
  // Forgets the lines added so far without printing them.
  void Skip();

 private:
  const TMainCore& core_;
  size_t printed_ = 0;
};

}  // namespace tvlc
