#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "state/sim_failure.h"

namespace vantrel::sim {

// The printer's configuration as it reports it: the answer to each "DIAGNOSTIC REPORT <name>"
// question, in the printer's own units (dots, letter codes, table names). A name missing from
// the map is a question this printer does not know: it stays unanswered, and commands that
// would change that setting are ignored.
struct SimConfigState {
  std::map<std::string, std::string, std::less<>> reports;
  // The line answered to "OUT _SERIAL$"; none: the printer stays silent.
  std::optional<std::string> serial_number;
  // Reports whose setting does not take: the commands are taken and answered, the report stays.
  std::set<std::string, std::less<>> unstored;
};

// Adds these report names to `unstored`; fails, changing nothing, on a name not in `reports`.
SimFailure MarkUnstored(SimConfigState& config, const std::vector<std::string>& names);

// A 203-dpi printer of edition 100 with the Z and D emulations.
SimConfigState DefaultSimConfig();

}  // namespace vantrel::sim
