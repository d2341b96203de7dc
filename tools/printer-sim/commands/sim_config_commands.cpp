// The configuration family: the questions of a configuration read are answered from the
// state's reports, and the settings commands of a configuration write change them, in the
// printer's own units, so that a read after a write shows the change.
#include <array>
#include <utility>

#include "commands/sim_config_values.h"
#include "engine/sim_command_families.h"

namespace vantrel::sim {
namespace {

// "OFF" or "0" is off; anything else is on.
std::string OnOff(std::string_view value) {
  value = TrimBlanks(value);
  return value == "OFF" || value == "0" ? "0" : "1";
}

void StoreMmAsDots(SimCommandContext& context, std::string_view name, std::string_view mm) {
  if (const auto value = LeadingNumber(mm)) {
    StoreReport(context, name, WholeText(*value * SimDotsPerMm(context)));
  }
}

// "SIZE w mm,h mm", "GAP s mm,o mm", "BLINE s mm,o mm".
void StorePair(SimCommandContext& context, std::string_view first, std::string_view second) {
  const auto fields = SplitFields(context.argument(), ',');
  if (fields.size() != 2) return;
  StoreMmAsDots(context, first, fields[0]);
  StoreMmAsDots(context, second, fields[1]);
}

void OnGap(SimCommandContext& context, std::string_view sensor_mode) {
  if (TrimBlanks(context.argument()) == "0,0") {
    StoreReport(context, "SENSORMODE", "2");  // continuous media
    return;
  }
  StoreReport(context, "SENSORMODE", std::string(sensor_mode));
  StorePair(context, "GAPSIZE", "GAPOFFSET");
}

// The three post-print lines switch one mode each; the last one switched on wins.
void OnPostPrintMode(SimCommandContext& context, std::string_view mode) {
  const std::string_view value = TrimBlanks(context.argument());
  if (OnOff(value) == "1") {
    StoreReport(context, "PRINTOUT", std::string(mode));
    if (mode == "3")
      StoreReport(context, "CUTTERPIECE", WholeText(LeadingNumber(value).value_or(1)));
  } else if (Report(context, "PRINTOUT") == mode) {
    StoreReport(context, "PRINTOUT", "0");
  }
}

// "SHIFT x,y" or "SHIFT y".
void OnShift(SimCommandContext& context) {
  const auto fields = SplitFields(context.argument(), ',');
  if (fields.size() == 2)
    StoreReport(context, "SHIFTX", WholeText(LeadingNumber(fields[0]).value_or(0)));
  StoreReport(context, "SHIFT", WholeText(LeadingNumber(fields.back()).value_or(0)));
}

// The intensity belongs to the media sensor mode in use.
void OnSensorIntensity(SimCommandContext& context) {
  constexpr std::array<std::string_view, 3> kIntensities = {"GAPINTEN", "BLINEINTEN", "CONINTEN"};
  const auto mode = LeadingNumber(Report(context, "SENSORMODE").value_or(""));
  if (!mode || *mode < 0 || *mode > 2) return;
  if (const auto value = LeadingNumber(context.argument())) {
    StoreReport(context, kIntensities[static_cast<std::size_t>(*mode)], WholeText(*value));
  }
}

// "SET COM1 96,N,8,1": the baud code, the parity letter, data bits, stop bits.
void OnSerialLine(SimCommandContext& context) {
  static const std::array<std::pair<std::string_view, std::string_view>, 9> kBauds = {
      {{"0", "0"},
       {"12", "1200"},
       {"24", "2400"},
       {"48", "4800"},
       {"96", "9600"},
       {"19", "19200"},
       {"38", "38400"},
       {"56", "57600"},
       {"115", "115200"}}};
  static const std::array<std::pair<std::string_view, std::string_view>, 3> kParities = {
      {{"N", "None"}, {"O", "Odd"}, {"E", "Even"}}};
  const auto fields = SplitFields(context.argument(), ',');
  if (fields.size() != 4) return;
  for (const auto& [code, name] : kBauds) {
    if (code == fields[0]) StoreReport(context, "BAUDRATE", std::string(name));
  }
  for (const auto& [code, name] : kParities) {
    if (code == fields[1]) StoreReport(context, "PARITY", std::string(name));
  }
  StoreReport(context, "DATABIT", std::string(fields[2]));
  StoreReport(context, "STOPBIT", std::string(fields[3]));
}

void OnReport(SimCommandContext& context) {
  if (const auto answer = Report(context, context.argument())) {
    context.ReplyFrame(std::string(*answer));
  }
}

void OnSerialNumber(SimCommandContext& context) {
  const std::optional<std::string>& serial = context.state().config.serial_number;
  if (serial) context.ReplyRaw(*serial + "\r\n");
}

// A setting whose argument is stored as it is written.
SimCommandHandler StoreText(std::string_view name) {
  return [name](SimCommandContext& context) {
    StoreReport(context, name, std::string(TrimBlanks(context.argument())));
  };
}

SimCommandHandler StoreSwitch(std::string_view name) {
  return
      [name](SimCommandContext& context) { StoreReport(context, name, OnOff(context.argument())); };
}

SimCommandHandler StoreNumbers(std::initializer_list<std::string_view> names) {
  return [list = std::vector<std::string_view>(names)](SimCommandContext& context) {
    const auto fields = SplitFields(context.argument(), ',');
    for (std::size_t i = 0; i < list.size() && i < fields.size(); ++i) {
      if (const auto value = LeadingNumber(fields[i]))
        StoreReport(context, list[i], WholeText(*value));
    }
  };
}

}  // namespace

void RegisterConfigCommands(SimCommandRegistry& registry) {
  registry.AddPrefix("DIAGNOSTIC REPORT ", OnReport);
  registry.AddExact("OUT _SERIAL$", OnSerialNumber);

  registry.AddPrefix("SPEED ", StoreText("SPEED"));
  registry.AddPrefix("DENSITY ", StoreNumbers({"DENSITY"}));
  registry.AddPrefix("SIZE ",
                     [](SimCommandContext& c) { StorePair(c, "PAPERWIDTH", "PAPERHEIGHT"); });
  registry.AddPrefix("GAP ", [](SimCommandContext& c) { OnGap(c, "0"); });
  registry.AddPrefix("BLINE ", [](SimCommandContext& c) { OnGap(c, "1"); });
  registry.AddPrefix("SET TEAR ", [](SimCommandContext& c) { OnPostPrintMode(c, "1"); });
  registry.AddPrefix("SET PEEL ", [](SimCommandContext& c) { OnPostPrintMode(c, "2"); });
  registry.AddPrefix("SET CUTTER ", [](SimCommandContext& c) { OnPostPrintMode(c, "3"); });
  registry.AddPrefix("REFERENCE ", StoreNumbers({"REFERENCEX", "REFERENCEY"}));
  registry.AddPrefix("DIRECTION ", StoreNumbers({"DIRCTION", "MIRROR"}));
  registry.AddPrefix("OFFSET ", StoreNumbers({"OFFSET"}));
  registry.AddPrefix("SHIFT ", OnShift);
  registry.AddPrefix("SET RIBBON ", StoreSwitch("RIBBON"));
  registry.AddPrefix("CODEPAGE ", StoreText("CODEPAGE"));
  registry.AddPrefix("COUNTRY ", StoreText("COUNTRY"));
  registry.AddPrefix("SET HEAD ", StoreSwitch("HEAD"));
  registry.AddPrefix("SET REPRINT ", StoreSwitch("REPRINT"));
  registry.AddPrefix("SET GAP ", OnSensorIntensity);
  registry.AddPrefix("SET COM1 ", OnSerialLine);
  RegisterEmulationCommands(registry);
}

}  // namespace vantrel::sim
