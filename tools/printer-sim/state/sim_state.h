#pragma once

#include <array>
#include <cstdint>

#include "state/sim_clock_state.h"
#include "state/sim_config_state.h"
#include "state/sim_dump_state.h"
#include "state/sim_memory_state.h"
#include "state/sim_net_state.h"

namespace vantrel::sim {

using DetailBytes = std::array<std::uint8_t, 8>;

// Everything a command may read or change. Commands get it by reference, so a
// new setting is one new member here (and a key in the profile reader).
struct SimState {
  std::uint8_t status_byte = 0;
  DetailBytes detail{};
  SimConfigState config = DefaultSimConfig();
  SimNetState net;
  SimClockState clock;
  SimMemoryState memory;
  SimDumpState dump;
};

}  // namespace vantrel::sim
