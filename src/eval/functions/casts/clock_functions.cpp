// The clock functions now and today.
#include "eval/functions/casts/clock_functions.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "eval/values/date_text.h"
#include "eval/values/derived_vars.h"
#include "eval/values/wall_clock.h"

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

double JUXCurrentDateTime() {
  const auto now = JUXWallClockNow();
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

void TJUXFunc_Now::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_DateTime>());
}

void TJUXFunc_Now::Evaluate(TTreeMapNode*, bool) { FResult->SetDateTime(JUXCurrentDateTime(), this); }

void TJUXFunc_Today::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Date>());
}

void TJUXFunc_Today::Evaluate(TTreeMapNode*, bool) { FResult->SetDate(std::trunc(JUXCurrentDateTime()), this); }
