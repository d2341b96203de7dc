// The real-time clock: "YEAR = 24" ... "SECOND = 3" set it, the report questions read it.
#include <charconv>

#include "engine/sim_command_families.h"

namespace vantrel::sim {
namespace {

struct ClockName {
  const char* setting;  // the command's prefix
  const char* report;   // the report question's last word
  SimClockField field;
};

constexpr ClockName kClockNames[] = {
    {"YEAR = ", "YEAR", kSimYear},       {"MONTH = ", "MONTH", kSimMonth},
    {"DATE = ", "DATE", kSimDay},        {"HOUR = ", "HOUR", kSimHour},
    {"MINUTE = ", "MINUTE", kSimMinute}, {"SECOND = ", "SECOND", kSimSecond},
};

// Far beyond any calendar field; the clock's arithmetic stays within an int.
constexpr int kLargestSetting = 100000;

// A setting that is no number, or one far outside the calendar, is ignored, leaving the clock
// as it was.
void OnSetting(SimCommandContext& context, SimClockField field) {
  const std::string_view text = context.argument();
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return;
  if (value < -kLargestSetting || value > kLargestSetting) return;
  SetSimClockField(context.state().clock, field, value);
}

}  // namespace

void RegisterClockCommands(SimCommandRegistry& registry) {
  for (const ClockName& name : kClockNames) {
    const SimClockField field = name.field;
    registry.AddPrefix(name.setting,
                       [field](SimCommandContext& context) { OnSetting(context, field); });
    registry.AddExact(std::string("DIAGNOSTIC REPORT ") + name.report,
                      [field](SimCommandContext& context) {
                        const SimClockFields now = ReadSimClock(context.state().clock);
                        context.ReplyFrame(std::to_string(now[field]));
                      });
  }
}

}  // namespace vantrel::sim
