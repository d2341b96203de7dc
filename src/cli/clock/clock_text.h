#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ops/clock_operations.h"

namespace vantrel::cli {

// "2026-12-07 21:44:32".
std::string ClockText(const ClockSettings& clock);

// "now" (the local time at this call) or a local time as YYYY-MM-DDTHH:MM:SS that the printer
// can take; none, with `refusal` saying why, otherwise.
std::optional<ClockSettings> ClockFromText(std::string_view when, std::string& refusal);

}  // namespace vantrel::cli
