#pragma once

#include <string>

namespace vantrel::sim {

// What the printer's text dump writes out; saved to a file it becomes "Dump.txt" in DRAM.
struct SimDumpState {
  std::string text = "SIM-PRINTER TEXT DUMP\r\n";

  bool operator==(const SimDumpState&) const = default;
};

}  // namespace vantrel::sim
