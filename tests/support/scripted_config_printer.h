#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/frame.h"
#include "support/scripted_transport.h"

namespace vantrel::testing {

inline std::string Question(std::string_view name) {
  return "DIAGNOSTIC REPORT " + std::string(name) + "\r\n";
}

// A printer that answers the configuration questions from a table. A question without an entry
// gets no answer at all; `raw` answers go out as they are, so frames can be malformed.
struct ScriptedConfigPrinter {
  std::map<std::string, std::string, std::less<>> answers;
  std::map<std::string, std::string, std::less<>> raw;
  std::optional<std::string> serial_line = "SN-0001\r\n";

  // A 203-dpi printer of edition 100 whose every answer is usable.
  static ScriptedConfigPrinter Full() {
    ScriptedConfigPrinter p;
    p.answers = {
        {"DPI", "203"},         {"VERSION", "V1.23 EZ"}, {"MILAGE", "12.5"},
        {"CHECKSUM", "A1B2"},   {"SPEED", "4"},          {"DENSITY", "8"},
        {"DENSITYBASE", "7"},   {"PAPERWIDTH", "812"},   {"PAPERHEIGHT", "406"},
        {"SENSORMODE", "1"},    {"GAPSIZE", "24"},       {"GAPOFFSET", "0"},
        {"PRINTOUT", "3"},      {"CUTTERPIECE", "2"},    {"REFERENCEX", "10"},
        {"REFERENCEY", "20"},   {"DIRCTION", "1"},       {"MIRROR", "0"},
        {"OFFSET", "-3"},       {"OFFSETBASE", "1"},     {"SHIFT", "5"},
        {"SHIFTBASE", "2"},     {"RIBBON", "1"},         {"CODEPAGE", "8859-15"},
        {"COUNTRY", "049"},     {"HEAD", "1"},           {"GAPINTEN", "4"},
        {"BLINEINTEN", "5"},    {"CONINTEN", "6"},       {"BAUDRATE", "9600"},
        {"DATABIT", "8"},       {"PARITY", "None"},      {"STOPBIT", "1"},
        {"REPRINT", "1"},       {"SHIFTX", "-8"},        {"SHIFTXBASE", "3"},
        {"EDITION", "100"},     {"ZDARKNESS", "15"},     {"ZSPEED", "C"},
        {"ZPOSITION", "-10"},   {"ZPRINTMODE", "P"},     {"ZLABELWIDTH", "812"},
        {"ZCONTROL", "#"},      {"ZFORMAT", "^"},        {"ZDELIMITER", ";"},
        {"ZFEEDPOWERUP", "C"},  {"ZFEEDHEADCLOSE", "N"}, {"ZLABELTOP", "-20"},
        {"ZLABELSHIFT", "100"}, {"DHEAT", "12"},         {"DSPEED", "G"},
        {"DLABELWIDTH", "400"}, {"DPRESENTSENSOR", "E"}, {"DCUTTEREQUIPPED", "N"},
        {"DCONTROLCODES", "1"}, {"DCOLUMNOFFSET", "8"},  {"DROWOFFSET", "16"},
    };
    return p;
  }

  // Installs the printer on a script; the script keeps a copy of the tables. Questions may come
  // several to a chunk or split across chunks: each complete line is answered in turn.
  void AnswerOn(Script& script) const {
    script.on_write = [printer = *this, pending = std::string()](std::string_view chunk,
                                                                 Script& s) mutable {
      pending += chunk;
      std::string replies;
      std::size_t end = 0;
      while ((end = pending.find("\r\n")) != std::string::npos) {
        replies += printer.AnswerTo(std::string_view(pending).substr(0, end));
        pending.erase(0, end + 2);
      }
      if (!replies.empty()) s.deliveries.push_back(replies);
    };
  }

 private:
  std::string AnswerTo(std::string_view line) const {
    if (line.starts_with("DIAGNOSTIC INTERFACE ")) return Frame("");
    if (line == "OUT _SERIAL$") return serial_line.value_or("");
    constexpr std::string_view kPrefix = "DIAGNOSTIC REPORT ";
    if (!line.starts_with(kPrefix)) return {};
    const std::string_view name = line.substr(kPrefix.size());
    if (auto it = raw.find(name); it != raw.end()) return it->second;
    if (auto it = answers.find(name); it != answers.end()) return Frame(it->second);
    return {};
  }
};

}  // namespace vantrel::testing
