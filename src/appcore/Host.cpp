#include "appcore/Host.h"

#include <chrono>
#include <ctime>

namespace tvlc {

double THost::TimeOfDay() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const double micros =
      double(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000);
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + micros / 1e6;
  return seconds / 86400.0;
}

}  // namespace tvlc
