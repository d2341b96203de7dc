#pragma once

#include <nlohmann/json_fwd.hpp>

#include "state/sim_memory_state.h"

namespace vantrel::sim {

// The "memory" object of a profile, applied over `state`; each of "dram", "flash", "card" is
// optional: {"physical": KB, "free": KB, "files": {"NAME": "content", ...}}. Without "free"
// a memory is as free as it is large, less its files. Throws SimProfileError for anything else.
void ApplySimMemoryProfile(const nlohmann::json& value, SimMemoryState& state);

}  // namespace vantrel::sim
