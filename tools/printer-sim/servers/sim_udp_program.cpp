#include "sim_udp_program.h"

namespace vantrel::sim {

void AddUdpOptions(CLI::App& app, SimUdpProgramOptions& options) {
  app.add_option("--udp-port", options.port,
                 "Answer discovery and setup datagrams on this UDP port (22368 as printers do; "
                 "0 picks a free one)")
      ->type_name("PORT");
  app.add_option("--udp-host", options.host,
                 "UDP address; 0.0.0.0 takes broadcasts and multicast and is allowed only in a "
                 "private network namespace")
      ->type_name("IPV4")
      ->capture_default_str();
  app.add_option("--udp-printers", options.printers,
                 "How many printers answer, MACs and addresses counting up from the first")
      ->type_name("N")
      ->check(CLI::Range(std::size_t{1}, std::size_t{65536}))
      ->capture_default_str();
  app.add_option("--mac", options.mac, "MAC address of the first printer (02:11:22:33:44:5A)")
      ->type_name("MAC")
      ->check([](const std::string& text) {
        return ParseSimMac(text) ? "" : "must be six hex bytes separated by colons";
      });
}

std::unique_ptr<SimUdpResponder> StartUdpResponder(const SimUdpProgramOptions& options,
                                                   SimPrinter& printer, const std::string& tcp_host,
                                                   std::string& error) {
  if (!options.port) return nullptr;
  SimNetState first = printer.state().net;
  if (!options.mac.empty()) first.mac = *ParseSimMac(options.mac);
  if (const auto address = ParseSimIpv4(tcp_host)) first.ip = first.in_use = *address;
  auto responder =
      std::make_unique<SimUdpResponder>(MakeSimFleet(first, options.printers), &printer);
  if (!responder->Start({options.host, *options.port, "224.0.0.251"}, &error)) return nullptr;
  return responder;
}

}  // namespace vantrel::sim
