#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vantrel::sim {

// The printer's configuration as it reports it: the answer to each "DIAGNOSTIC REPORT <name>"
// question, in the printer's own units (dots, letter codes, table names). A name missing from
// the map is a question this printer does not know: it stays unanswered, and commands that
// would change that setting are ignored.
struct SimConfigState {
  std::map<std::string, std::string, std::less<>> reports;
  // The line answered to "OUT _SERIAL$"; none: the printer stays silent.
  std::optional<std::string> serial_number;
};

// A 203-dpi printer of edition 100 with the Z and D emulations.
SimConfigState DefaultSimConfig();

}  // namespace vantrel::sim
