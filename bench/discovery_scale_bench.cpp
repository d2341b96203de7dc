// One discovery answered by thousands of simulated printers at once, with the real broadcast and
// multicast addresses. Runs only inside a private network namespace (bench/run-discovery-scale.sh
// makes one); anywhere else it refuses before opening a socket.
//   discovery_scale_bench [PRINTERS]   (default 2000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "net/net_setup_session.h"
#include "servers/sim_private_network.h"
#include "servers/sim_udp_responder.h"

namespace {

constexpr int kSkipped = 77;

// Each printer must be listed exactly twice: once per request.
std::size_t CountMissing(const std::vector<vantrel::DeviceListRow>& rows,
                         const std::vector<vantrel::sim::SimNetState>& fleet) {
  std::map<std::string, int> listed;
  for (const auto& row : rows) ++listed[row.mac];
  std::size_t missing = 0;
  for (const auto& printer : fleet) {
    const int times = listed[vantrel::sim::SimMacText(printer.mac)];
    if (times < 2) missing += static_cast<std::size_t>(2 - times);
  }
  return missing;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2000;
  std::string why;
  if (!vantrel::sim::InPrivateLoopbackNetwork(why)) {
    std::fprintf(stderr, "refusing to broadcast outside a private network namespace: %s\n",
                 why.c_str());
    return kSkipped;
  }
  const auto fleet = vantrel::sim::MakeSimFleet(vantrel::sim::SimNetState{}, count);
  vantrel::sim::SimUdpResponder responder(fleet);
  const vantrel::sim::SimFailure started =
      responder.Start({"0.0.0.0", vantrel::DatagramTargets::kDefaultPort});
  if (!started.ok()) {
    std::fprintf(stderr, "%s\n", started.detail.c_str());
    return 1;
  }
  vantrel::NetSetupSession session;  // the default addresses, port and 1-second waits
  const auto start = std::chrono::steady_clock::now();
  const vantrel::DiscoveryOutcome outcome = session.Discover();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const std::size_t missing = CountMissing(outcome.rows, fleet);
  std::printf(
      "%zu printers: %zu rows listed of %zu expected, %zu missing, %.3f s "
      "(two 1 s waits included)\n",
      count, outcome.rows.size(), 2 * count, missing, took.count());
  return missing == 0 && outcome.rows.size() == 2 * count ? 0 : 1;
}
