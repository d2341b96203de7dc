#pragma once

#include <cstddef>
#include <string>

#include "state/sim_state.h"

namespace vantrel::sim {

// "-0001" for printer 0: its 1-based number, four digits or more.
std::string SimFleetSuffix(std::size_t index);

// The state of printer `index` of a fleet of `count` made from `base`: its serial number and
// network name carry its suffix and its MAC counts up from the base's. A fleet of one is `base`.
SimState SimFleetMemberState(const SimState& base, std::size_t index, std::size_t count);

}  // namespace vantrel::sim
