#include "cli/clock/clock_text.h"

#include <charconv>
#include <ctime>
#include <iomanip>
#include <sstream>

namespace vantrel::cli {
namespace {

constexpr std::string_view kTimeForm = "YYYY-MM-DDTHH:MM:SS";
// The same form with '#' for each digit.
constexpr std::string_view kTimePattern = "####-##-##T##:##:##";

}  // namespace

std::string ClockText(const ClockSettings& clock) {
  std::ostringstream text;
  text << std::setfill('0') << std::setw(4) << clock.Year << '-' << std::setw(2) << clock.Month
       << '-' << std::setw(2) << clock.Day << ' ' << std::setw(2) << clock.Hour << ':'
       << std::setw(2) << clock.Minute << ':' << std::setw(2) << clock.Second;
  return text.str();
}

namespace {

ClockSettings LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          1};
}

// Digits only, of exactly the form's width at the form's places.
std::optional<ClockSettings> ParseClockText(std::string_view text) {
  if (text.size() != kTimePattern.size()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = kTimePattern[i] == '#';
    if (digit ? (text[i] < '0' || text[i] > '9') : text[i] != kTimePattern[i]) {
      return std::nullopt;
    }
  }
  const auto field = [text](std::size_t at, std::size_t width) {
    std::int32_t value = 0;
    std::from_chars(text.data() + at, text.data() + at + width, value);
    return value;
  };
  return ClockSettings{
      field(0, 4), field(5, 2), field(8, 2), field(11, 2), field(14, 2), field(17, 2), 1};
}

}  // namespace

std::optional<ClockSettings> ClockFromText(std::string_view when, std::string& refusal) {
  const std::optional<ClockSettings> clock =
      when == "now" ? std::optional(LocalNow()) : ParseClockText(when);
  if (!clock) {
    refusal = "\"" + std::string(when) + "\" is neither now nor a time of the form " +
              std::string(kTimeForm);
    return std::nullopt;
  }
  refusal = ClockRefusal(*clock);
  if (!refusal.empty()) return std::nullopt;
  return clock;
}

}  // namespace vantrel::cli
