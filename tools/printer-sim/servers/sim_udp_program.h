#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/sim_printer.h"
#include "servers/sim_udp_responder.h"

namespace vantrel::sim {

// The program's datagram options: none given, no UDP at all.
struct SimUdpProgramOptions {
  std::optional<std::uint16_t> port;
  std::string host = "127.0.0.1";
  std::size_t printers = 1;
  std::string mac;
};

void AddUdpOptions(CLI::App& app, SimUdpProgramOptions& options);

struct StartedUdpResponder {
  std::unique_ptr<SimUdpResponder> responder;  // none when not asked for or not started
  SimFailure failure;                          // why it could not start
};

// Starts the responder when a port was given. The TCP printers answer as the first printers,
// each with its TCP host as its address when that is IPv4; a single TCP printer is followed by
// the rest of --udp-printers, MACs and addresses counting up from it. Neither a responder nor a
// failure when UDP was not asked for.
StartedUdpResponder StartUdpResponder(const SimUdpProgramOptions& options,
                                      const std::vector<SimPrinter*>& printers,
                                      const std::vector<std::string>& tcp_hosts,
                                      const SimServingHooks& hooks);

}  // namespace vantrel::sim
