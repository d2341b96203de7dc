#include "state/sim_config_state.h"

namespace vantrel::sim {

SimConfigState DefaultSimConfig() {
  SimConfigState config;
  config.reports = {
      {"DPI", "203"},         {"VERSION", "SIM 1.00"}, {"MILAGE", "0.3"},
      {"CHECKSUM", "5A3C"},   {"SPEED", "4.0"},        {"DENSITY", "8"},
      {"DENSITYBASE", "8"},   {"PAPERWIDTH", "812"},   {"PAPERHEIGHT", "406"},
      {"SENSORMODE", "0"},    {"GAPSIZE", "24"},       {"GAPOFFSET", "0"},
      {"PRINTOUT", "1"},      {"CUTTERPIECE", "1"},    {"REFERENCEX", "0"},
      {"REFERENCEY", "0"},    {"DIRCTION", "0"},       {"MIRROR", "0"},
      {"OFFSET", "0"},        {"OFFSETBASE", "0"},     {"SHIFT", "0"},
      {"SHIFTBASE", "0"},     {"RIBBON", "0"},         {"CODEPAGE", "850"},
      {"COUNTRY", "001"},     {"HEAD", "1"},           {"GAPINTEN", "4"},
      {"BLINEINTEN", "5"},    {"CONINTEN", "3"},       {"BAUDRATE", "9600"},
      {"DATABIT", "8"},       {"PARITY", "None"},      {"STOPBIT", "1"},
      {"REPRINT", "1"},       {"SHIFTX", "0"},         {"SHIFTXBASE", "0"},
      {"EDITION", "105"},     {"ZDARKNESS", "15"},     {"ZSPEED", "C"},
      {"ZPOSITION", "0"},     {"ZPRINTMODE", "T"},     {"ZLABELWIDTH", "812"},
      {"ZCONTROL", "~"},      {"ZFORMAT", "^"},        {"ZDELIMITER", ","},
      {"ZFEEDPOWERUP", "C"},  {"ZFEEDHEADCLOSE", "C"}, {"ZLABELTOP", "0"},
      {"ZLABELSHIFT", "0"},   {"DHEAT", "10"},         {"DSPEED", "G"},
      {"DLABELWIDTH", "812"}, {"DPRESENTSENSOR", "N"}, {"DCUTTEREQUIPPED", "N"},
      {"DCONTROLCODES", "S"}, {"DCOLUMNOFFSET", "0"},  {"DROWOFFSET", "0"},
  };
  config.serial_number = "SIM0000001";
  return config;
}

SimFailure MarkUnstored(SimConfigState& config, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (config.reports.contains(name)) continue;
    std::string known;
    for (const auto& report : config.reports) known += (known.empty() ? "" : " ") + report.first;
    return {"no setting is reported as " + name + "; known: " + known};
  }
  config.unstored.insert(names.begin(), names.end());
  return {};
}

}  // namespace vantrel::sim
