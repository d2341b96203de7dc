#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "state/sim_state.h"

namespace vantrel::sim {

// Thrown with a message naming the file, key or value at fault.
class SimProfileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A profile is a JSON object; every key is optional and defaults to SimState{}:
//   {"status_byte": 0, "detail": [0, 0, 0, 0, 0, 0, 0, 0], "config": {...}}
// ("config": see sim_config_profile.h; "memory": see sim_memory_profile.h).
// Unknown keys are errors so that a misspelt setting is not silently ignored.
SimState ParseSimProfile(std::string_view json_text);
SimState LoadSimProfile(const std::string& path);

}  // namespace vantrel::sim
