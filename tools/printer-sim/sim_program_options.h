#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sim_faults.h"
#include "servers/sim_udp_program.h"
#include "state/sim_state.h"

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

// --detail: "0011223344556677" -> the 8 detail bytes; nullopt unless exactly 16 hex digits.
std::optional<DetailBytes> ParseDetailHex(std::string_view text);

}  // namespace vantrel::sim
