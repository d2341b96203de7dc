#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim_printer.h"
#include "sim_udp_responder.h"

namespace vantrel::sim {

// The program's datagram options: none given, no UDP at all.
struct SimUdpProgramOptions {
  std::optional<std::uint16_t> port;
  std::string host = "127.0.0.1";
  std::size_t printers = 1;
  std::string mac;
};

void AddUdpOptions(CLI::App& app, SimUdpProgramOptions& options);

// Starts the responder when a port was given, printer 0 being the TCP printer and answering with
// `tcp_host` as its address when that is IPv4; nullptr with `error` set when it cannot start.
// Returns nullptr and no error when UDP was not asked for.
std::unique_ptr<SimUdpResponder> StartUdpResponder(const SimUdpProgramOptions& options,
                                                   SimPrinter& printer, const std::string& tcp_host,
                                                   std::string& error);

}  // namespace vantrel::sim
