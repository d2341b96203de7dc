#include "engine/sim_fleet_member.h"

#include <cstdio>

namespace vantrel::sim {

std::string SimFleetSuffix(std::size_t index) {
  char text[32] = {};
  std::snprintf(text, sizeof text, "-%04zu", index + 1);
  return text;
}

SimState SimFleetMemberState(const SimState& base, std::size_t index, std::size_t count) {
  SimState state = base;
  if (count == 1) return state;
  const std::string suffix = SimFleetSuffix(index);
  if (state.config.serial_number) *state.config.serial_number += suffix;
  state.net.name += suffix;
  state.net.mac = SimMacPlus(base.net.mac, index);
  return state;
}

}  // namespace vantrel::sim
