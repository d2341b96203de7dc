#pragma once

#include <nlohmann/json_fwd.hpp>

#include "state/sim_config_state.h"

namespace vantrel::sim {

// The "config" object of a profile, applied over `config`:
//   {"reports": {"EDITION": "99", ...},   answers to add or replace
//    "unknown": ["REPRINT", ...],          questions this printer does not know
//    "serial": "SN-1" or null}             the serial-number line; null: no answer
// Throws SimProfileError for anything else.
void ApplySimConfigProfile(const nlohmann::json& value, SimConfigState& config);

}  // namespace vantrel::sim
