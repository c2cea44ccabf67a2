#include "eval/values/wall_clock.h"

#include <chrono>
#include <ctime>

#include "eval/values/date_text.h"

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

double JUXSystemClockNow() {
  const auto now = std::chrono::system_clock::now();
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const double day = EncodeJUXDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0.0);
  // A leap second (tm_sec 60) is kept inside the day.
  const int second = local.tm_sec < 60 ? local.tm_sec : 59;
  const double ms = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + second) * 1000.0 +
                    static_cast<double>(milliseconds < 0 ? milliseconds + 1000 : milliseconds);
  return day + ms / kMillisecondsPerDay;
}

const TJUXClock& JUXSystemClock() {
  static const TJUXClock kSystem = &JUXSystemClockNow;
  return kSystem;
}
