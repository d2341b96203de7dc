#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/sim_failure.h"

namespace vantrel::sim {

struct SimListenPoint {
  std::string host;
  std::uint16_t port = 0;  // 0: the server picks a free one
};

struct SimFleetLayout {
  std::string host = "127.0.0.1";
  std::uint16_t port = 0;
  std::size_t count = 1;
  bool consecutive_hosts = false;
};

struct SimFleetPoints {
  std::vector<SimListenPoint> points;  // one a printer, in order; none on failure
  SimFailure failure;
};

// Printer i listens on port + i of the host or, with consecutive hosts, on the port of host + i:
// the IPv4 addresses after the host's, carrying over into the next byte, all inside
// 127.0.0.0/8. Port 0 leaves each printer to pick a free port.
SimFleetPoints SimFleetListenPoints(const SimFleetLayout& layout);

}  // namespace vantrel::sim
