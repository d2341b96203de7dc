#include "servers/sim_udp_program.h"

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

StartedUdpResponder StartUdpResponder(const SimUdpProgramOptions& options,
                                      const std::vector<SimPrinter*>& printers,
                                      const std::vector<std::string>& tcp_hosts,
                                      const SimServingHooks& hooks) {
  if (!options.port) return {};
  if (printers.empty() || printers.size() != tcp_hosts.size()) {
    return {nullptr, {"UDP needs one TCP host for each of one or more printers"}};
  }
  std::vector<SimNetState> fleet;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    SimNetState net = printers[i]->state().net;
    if (const auto address = ParseSimIpv4(tcp_hosts[i])) net.ip = net.in_use = *address;
    fleet.push_back(std::move(net));
  }
  if (printers.size() == 1) fleet = MakeSimFleet(fleet.front(), options.printers);
  auto responder = std::make_unique<SimUdpResponder>(std::move(fleet), printers);
  responder->SetServingHooks(hooks);
  SimFailure failure = responder->Start({options.host, *options.port, "224.0.0.251"});
  if (!failure.ok()) return {nullptr, std::move(failure)};
  return {std::move(responder), {}};
}

}  // namespace vantrel::sim
