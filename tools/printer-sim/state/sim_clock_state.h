#pragma once

#include <array>
#include <cstdint>

namespace vantrel::sim {

// The printer's real-time clock: it runs from the host's local time plus whatever the last
// setting moved it by.
struct SimClockState {
  std::int64_t offset_seconds = 0;

  bool operator==(const SimClockState&) const = default;
};

// Year (full), month, day, hour, minute, second.
using SimClockFields = std::array<int, 6>;
enum SimClockField { kSimYear, kSimMonth, kSimDay, kSimHour, kSimMinute, kSimSecond };

SimClockFields ReadSimClock(const SimClockState& clock);

// Sets one field and keeps the others, carrying over as a calendar does (month 13 is January
// of the next year). A two-digit year is one of this century, as the printer is sent only
// the last two digits.
void SetSimClockField(SimClockState& clock, SimClockField field, int value);

}  // namespace vantrel::sim
