// The Z and D emulation settings of a configuration write, applied to the reports in the
// printer's own units.
#include <array>
#include <utility>

#include "commands/sim_config_values.h"

namespace vantrel::sim {
namespace {

constexpr std::string_view kZControlLead = "\020";
constexpr std::string_view kZControlTrail = "\036XA\036JUS\036XZ";
constexpr std::string_view kZFormatLead = "\036XA\036";
constexpr std::string_view kZFormatTrail = "\036JUS\036XZ";

// Z commands whose value the printer reports as it was written.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kZReports = {
    {{"SD", "ZDARKNESS"},
     {"TA", "ZPOSITION"},
     {"MM", "ZPRINTMODE"},
     {"PW", "ZLABELWIDTH"},
     {"CT", "ZCONTROL"},
     {"CC", "ZFORMAT"},
     {"CD", "ZDELIMITER"},
     {"LT", "ZLABELTOP"},
     {"LS", "ZLABELSHIFT"}}};

// The speeds the printer reports as letters; others as numbers.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kZSpeedLetters = {
    {{"2", "A"}, {"3", "B"}, {"4", "C"}, {"6", "D"}, {"8", "E"}}};

std::string ZSpeedReport(std::string_view speed) {
  for (const auto& [number, letter] : kZSpeedLetters) {
    if (number == speed) return std::string(letter);
  }
  return std::string(speed);
}

void ApplyZCommand(SimCommandContext& context, std::string_view command) {
  if (command.size() < 2) return;
  const std::string_view code = command.substr(0, 2);
  const std::string_view value = command.substr(2);
  if (code == "PR") {
    StoreReport(context, "ZSPEED", ZSpeedReport(value));
  } else if (code == "MF") {
    // "MFa" is the action at power-up, "MF,a" (with the delimiter) the one at head close.
    if (value.size() == 1) StoreReport(context, "ZFEEDPOWERUP", std::string(value));
    if (value.size() == 2) StoreReport(context, "ZFEEDHEADCLOSE", std::string(value.substr(1)));
  } else {
    for (const auto& [known, report] : kZReports) {
      if (known == code) StoreReport(context, report, std::string(value));
    }
  }
}

// The command between its framing bytes; a command without its trail is not taken.
SimCommandHandler ZCommand(std::string_view trail) {
  return [trail](SimCommandContext& context) {
    std::string_view command = context.argument();
    if (!command.ends_with(trail)) return;
    command.remove_suffix(trail.size());
    ApplyZCommand(context, command);
  };
}

// "LW0400;" and the like: hundredths of an inch back to the printer's dots.
void StoreHundredthsAsDots(SimCommandContext& context, std::string_view name,
                           std::string_view value) {
  if (const auto hundredths = LeadingNumber(value)) {
    StoreReport(context, name, WholeText(*hundredths * SimDpi(context) / 100));
  }
}

void ApplyDSetting(SimCommandContext& context, std::string_view part) {
  if (part.size() < 3) return;
  const std::string_view code = part.substr(0, 2);
  const std::string_view value = part.substr(2);
  const std::string present = value == "Y" ? "E" : "N";
  if (code == "LW") StoreHundredthsAsDots(context, "DLABELWIDTH", value);
  if (code == "CO") StoreHundredthsAsDots(context, "DCOLUMNOFFSET", value);
  if (code == "RO") StoreHundredthsAsDots(context, "DROWOFFSET", value);
  if (code == "PS") StoreReport(context, "DPRESENTSENSOR", present);
  if (code == "CE") StoreReport(context, "DCUTTEREQUIPPED", present);
  if (code == "CC") StoreReport(context, "DCONTROLCODES", std::string(value));
}

// After the introducer and "K": "ZH10", "ZPG" or "c" with the settings, then the terminator.
void OnDCommand(SimCommandContext& context) {
  std::string_view command = context.argument();
  if (command.ends_with('\r') || command.ends_with('|')) command.remove_suffix(1);
  if (command.starts_with("ZH")) {
    if (const auto heat = LeadingNumber(command.substr(2)))
      StoreReport(context, "DHEAT", WholeText(*heat));
  } else if (command.starts_with("ZP") && command.size() == 3) {
    StoreReport(context, "DSPEED", std::string(command.substr(2)));
  } else if (command.starts_with('c')) {
    for (std::string_view part : SplitFields(command.substr(1), ';')) ApplyDSetting(context, part);
  }
}

}  // namespace

void RegisterEmulationCommands(SimCommandRegistry& registry) {
  registry.AddPrefix(std::string(kZControlLead), ZCommand(kZControlTrail));
  registry.AddPrefix(std::string(kZFormatLead), ZCommand(kZFormatTrail));
  // The printer takes a D command with either introducer.
  registry.AddPrefix("\002K", OnDCommand);
  registry.AddPrefix("~K", OnDCommand);
}

}  // namespace vantrel::sim
