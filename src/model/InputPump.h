// Hands control to the user interface from inside long loops, so that the
// window repaints and stop requests arrive on the single UI thread. The hook
// runs at most once per interval, so it never dominates the work.
#pragma once

#include <chrono>
#include <functional>

namespace tvlc {

class TInputPump {
 public:
  using Clock = std::chrono::steady_clock;

  TInputPump() = default;
  explicit TInputPump(std::function<void()> hook,
                      Clock::duration interval = std::chrono::milliseconds(15))
      : hook_(std::move(hook)), interval_(interval) {}

  // Calls the hook when the interval has passed since it last ran.
  void Poll() {
    if (!hook_) return;
    const Clock::time_point now = Clock::now();
    if (now - last_ < interval_) return;
    last_ = now;
    hook_();
  }

  // Calls the hook now (a fixed point such as the end of a step).
  void Force() {
    if (!hook_) return;
    last_ = Clock::now();
    hook_();
  }

 private:
  std::function<void()> hook_;
  Clock::duration interval_{};
  Clock::time_point last_{};
};

}  // namespace tvlc
