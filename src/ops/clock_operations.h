#pragma once

#include <cstdint>
#include <string>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/bounded_text.h"

namespace vantrel {

// The printer's real-time clock as the clock dialog edits it. The year is the full year
// (2024); the printer is given only its last two digits.
struct ClockSettings {
  std::int32_t Year = 0;
  std::int32_t Month = 0;
  std::int32_t Day = 0;
  std::int32_t Hour = 0;
  std::int32_t Minute = 0;
  std::int32_t Second = 0;
  std::uint8_t Confirmed = 0;  // 1 when the dialog was left with "Set"
};

// Why these values cannot be set, or empty: each must be a real calendar date and time of a
// year 0..9999, or every label the printer dates afterwards would carry nonsense.
std::string ClockRefusal(const ClockSettings& clock);

// The six lines "YEAR = 24\r\n" ... "SECOND = 3\r\n" of operation 6.
CommandText ClockCommandText(const ClockSettings& clock);

// Operation 6: the six lines in one write, no reply. Refused values give 5 without opening
// the link.
ResultCode SetClock(LinkLayer& link, InterfaceKind interface, const ClockSettings& clock);

// Operation 7: the interface announcement, then the year ... second questions. The first
// failing exchange ends it with its code; the fields not yet read keep their values.
ResultCode ReadClock(LinkLayer& link, InterfaceKind interface, ClockSettings& clock);

}  // namespace vantrel
