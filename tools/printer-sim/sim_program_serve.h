#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "engine/sim_faults.h"
#include "servers/sim_fleet_addresses.h"
#include "servers/sim_udp_program.h"
#include "state/sim_state.h"

namespace vantrel::sim {

// The printers of one run on TCP. Printer i starts from SimFleetMemberState of `healthy`, or,
// as one of the last `faulty_count`, of `faulty` and with `faulty_faults`.
struct SimFleetPlan {
  std::vector<SimListenPoint> points;  // one a printer
  SimState healthy;
  SimFaults healthy_faults;
  SimState faulty;
  SimFaults faulty_faults;
  std::size_t faulty_count = 0;
  std::string hosts_out;  // none: no hosts file
  bool pty = false;       // the one printer on a pseudo-terminal instead
  SimUdpProgramOptions udp;
};

// Serves until SIGINT or SIGTERM and returns the exit code. Prints "listening on HOST:PORT" per
// printer ("serial line on PATH" on a pseudo-terminal) before any command reaches `log`; with more
// than one printer each log line starts with the printer's "HOST:PORT ". No log: none logged.
int ServeFleet(const SimFleetPlan& plan, std::ostream* log);

}  // namespace vantrel::sim
