#include "state/sim_clock_state.h"

#include <ctime>

namespace vantrel::sim {
namespace {

constexpr int kCentury = 2000;

// The host's local wall-clock time as seconds of a calendar without time zones, so that
// stepping it never meets a daylight-saving change.
std::int64_t HostWallSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return static_cast<std::int64_t>(now) + local.tm_gmtoff;
}

std::tm Broken(std::int64_t wall_seconds) {
  const auto seconds = static_cast<std::time_t>(wall_seconds);
  std::tm fields{};
  ::gmtime_r(&seconds, &fields);
  return fields;
}

}  // namespace

SimClockFields ReadSimClock(const SimClockState& clock) {
  const std::tm t = Broken(HostWallSeconds() + clock.offset_seconds);
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

void SetSimClockField(SimClockState& clock, SimClockField field, int value) {
  const std::int64_t host = HostWallSeconds();
  std::tm t = Broken(host + clock.offset_seconds);
  switch (field) {
    case kSimYear:
      t.tm_year = (value < 100 ? kCentury + value : value) - 1900;
      break;
    case kSimMonth:
      t.tm_mon = value - 1;
      break;
    case kSimDay:
      t.tm_mday = value;
      break;
    case kSimHour:
      t.tm_hour = value;
      break;
    case kSimMinute:
      t.tm_min = value;
      break;
    case kSimSecond:
      t.tm_sec = value;
      break;
  }
  clock.offset_seconds = static_cast<std::int64_t>(::timegm(&t)) - host;
}

}  // namespace vantrel::sim
