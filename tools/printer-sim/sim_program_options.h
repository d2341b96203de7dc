#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim_faults.h"
#include "sim_udp_program.h"

namespace vantrel::sim {

// The command line of vantrel-printer-sim, as parsed.
struct SimProgramOptions {
  std::string host = "127.0.0.1";
  std::uint16_t port = 9100;
  std::string profile;
  std::optional<int> status_byte;
  std::string detail;
  std::string log;
  bool pty = false;
  std::size_t count = 1;
  bool consecutive_hosts = false;
  std::string hosts_out;
  int reply_delay_ms = 0;
  // The faults, which apply to the last `faulty` printers, or to all when not given.
  SimFaults faults;
  std::optional<std::size_t> close_after;
  int byte_delay_ms = 0;
  std::vector<std::string> unstored;
  std::optional<std::size_t> faulty;
  SimUdpProgramOptions udp;
};

}  // namespace vantrel::sim
