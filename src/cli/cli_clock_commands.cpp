// clock read and clock set (operations 7 and 6).
#include <charconv>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/cli_json.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kTimeForm = "YYYY-MM-DDTHH:MM:SS";
// The same form with '#' for each digit.
constexpr std::string_view kTimePattern = "####-##-##T##:##:##";

std::string ClockText(const ClockSettings& clock) {
  std::ostringstream text;
  text << std::setfill('0') << std::setw(4) << clock.Year << '-' << std::setw(2) << clock.Month
       << '-' << std::setw(2) << clock.Day << ' ' << std::setw(2) << clock.Hour << ':'
       << std::setw(2) << clock.Minute << ':' << std::setw(2) << clock.Second;
  return text.str();
}

int ReadClock(CliContext& context, bool json) {
  ClockSettings clock;
  if (const int code = context.Run(kOpReadClock, &clock); code != 0) return code;
  if (json) {
    PrintJson({{"year", clock.Year},
               {"month", clock.Month},
               {"day", clock.Day},
               {"hour", clock.Hour},
               {"minute", clock.Minute},
               {"second", clock.Second}});
  } else {
    std::cout << ClockText(clock) << '\n';
  }
  return 0;
}

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

int SetClock(CliContext& context, const std::string& when) {
  const std::optional<ClockSettings> clock =
      when == "now" ? std::optional(LocalNow()) : ParseClockText(when);
  if (!clock) {
    return Refuse("\"" + when + "\" is neither now nor a time of the form " +
                  std::string(kTimeForm));
  }
  if (const std::string refusal = ClockRefusal(*clock); !refusal.empty()) return Refuse(refusal);
  ClockSettings record = *clock;
  const int code = context.Run(kOpSetClock, &record);
  if (code == 0) std::cout << "Clock set to " << ClockText(record) << '\n';
  return code;
}

}  // namespace

void AddClockCommands(CLI::App& app, CliContext& context) {
  auto* clock = app.add_subcommand("clock", "The printer's real-time clock");
  clock->require_subcommand(1);
  auto* read = clock->add_subcommand("read", "Read the clock (operation 7)");
  auto json = std::make_shared<bool>(false);
  read->add_flag("--json", *json, "print one JSON document");
  read->callback([&context, json] {
    context.action = [&context, json] { return ReadClock(context, *json); };
  });
  auto* set = clock->add_subcommand("set", "Set the clock (operation 6)");
  auto when = std::make_shared<std::string>();
  set->add_option("TIME", *when, "now, or local time as YYYY-MM-DDTHH:MM:SS")->required();
  set->callback(
      [&context, when] { context.action = [&context, when] { return SetClock(context, *when); }; });
}

}  // namespace vantrel::cli
