// clock read and clock set (operations 7 and 6).
#include <iostream>

#include "cli/clock/clock_text.h"
#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {
namespace {

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

int SetClock(CliContext& context, const std::string& when) {
  std::string refusal;
  const std::optional<ClockSettings> clock = ClockFromText(when, refusal);
  if (!clock) return Refuse(refusal);
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
