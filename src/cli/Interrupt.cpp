#include "cli/Interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace tvlc {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

constexpr char kNotice[] =
    "\ntvlc-cli: stopping after the shape in hand (Ctrl-C again to quit at once)\n";

// Only async-signal-safe calls: an atomic store and write(2).
extern "C" void OnInterrupt(int) {
  interrupted.store(true);
  const ssize_t ignored = ::write(STDERR_FILENO, kNotice, sizeof kNotice - 1);
  (void)ignored;
}

}  // namespace

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // The first signal puts the default action back: a second one ends the
  // program. SA_RESTART keeps file reads and writes from failing with EINTR.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return interrupted.load(); }

}  // namespace tvlc
