#pragma once

#include <optional>
#include <string>

namespace vantrel::sim {

// The printer's text dump: what a dump writes out, and the file "Dump.txt" once a dump has
// been saved to the printer itself.
struct SimDumpState {
  std::string text = "SIM-PRINTER TEXT DUMP\r\n";
  std::optional<std::string> file;

  bool operator==(const SimDumpState&) const = default;
};

}  // namespace vantrel::sim
