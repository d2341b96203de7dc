#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "sim_clock_state.h"
#include "sim_config_state.h"
#include "sim_dump_state.h"
#include "sim_memory_state.h"
#include "sim_net_state.h"

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

// "0011223344556677" -> the 8 detail bytes; nullopt unless exactly 16 hex digits.
std::optional<DetailBytes> ParseDetailHex(std::string_view text);

}  // namespace vantrel::sim
