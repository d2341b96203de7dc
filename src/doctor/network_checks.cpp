#include "doctor/network_checks.h"

#include <cerrno>
#include <future>
#include <thread>

#include "doctor/status_question.h"
#include "link/tcp_transport.h"
#include "net/ipv4_text.h"
#include "net/name_resolver.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string kNet = "net";
constexpr milliseconds kShortestStep{50};

using Lookup = Outcome<std::optional<ResolvedName>>;

// getaddrinfo has no time limit of its own. A resolver that does not answer must not hold the
// doctor past its time-out, so the lookup runs on a thread of its own, left behind if need be.
Lookup ResolveWithin(const std::string& host, milliseconds wait) {
  std::packaged_task<Lookup()> task([host] { return ResolveName(host); });
  std::future<Lookup> result = task.get_future();
  std::thread(std::move(task)).detach();
  if (result.wait_for(wait) != std::future_status::ready) {
    return {std::nullopt,
            {kResultPortOpenError, ETIMEDOUT,
             "\"" + host + "\" did not resolve within " + std::to_string(wait.count()) + " ms"}};
  }
  return result.get();
}

milliseconds Left(Clock::time_point deadline) {
  return std::max(std::chrono::ceil<milliseconds>(deadline - Clock::now()), kShortestStep);
}

milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

DoctorCheck CheckConnect(const DoctorRequest& request, Clock::time_point deadline) {
  const NetworkTarget& target = request.network;
  const std::string where = target.address + ":" + std::to_string(target.port);
  LinkWaits waits;
  waits.net_connect = Left(deadline);
  const auto start = Clock::now();
  const Outcome<std::unique_ptr<TcpTransport>> connected = TcpTransport::Connect(target, waits);
  if (connected.value != nullptr) {
    return {kNet,
            "connect",
            true,
            where + " accepts connections (in " + std::to_string(Since(start).count()) + " ms)",
            {}};
  }
  DoctorCheck check{kNet, "connect", false, where + ": " + connected.failure.detail, {}};
  if (connected.failure.os_error == ECONNREFUSED) {
    check.fix = "the printer refuses port " + std::to_string(target.port) +
                ": check --port (printers take data on 9100) and the printer's network settings";
  } else {
    check.fix =
        "check the address, the cable and that the printer is on; a firewall may drop "
        "the connection";
  }
  return check;
}

DoctorCheck CheckStatus(const DoctorRequest& request, Clock::time_point deadline) {
  LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &request.network);
  LinkWaits waits;
  waits.net_connect = Left(deadline);
  waits.net_read = Left(deadline);
  waits.net_write = Left(deadline);
  link.SetWaits(waits);
  const StatusAnswer answer = AskStatus(link, kInterfaceEthernet);
  if (answer.answered)
    return {kNet, "status", true, "the printer answers: " + DescribeAnswer(answer), {}};
  return {kNet, "status", false, "no status answer: " + answer.failure.detail,
          "port " + std::to_string(request.network.port) +
              " takes connections but does not answer: check that it is the printer's data port"};
}

}  // namespace

DoctorCheck CheckSubnet(std::uint32_t address, const std::vector<LocalSubnet>& subnets) {
  if (const std::optional<LocalSubnet> subnet = FindLocalSubnet(address, subnets)) {
    return {kNet, "subnet", true, "on the local subnet " + DescribeSubnet(*subnet), {}};
  }
  return {
      kNet, "subnet", true,
      "on no local subnet: discovery will not find it (TCP still reaches it through the router)",
      "to discover it anyway, send to its subnet's broadcast address: vantrel-cli discover "
      "--broadcast " +
          NeighbourhoodBroadcast(address) + " (when the router forwards it)"};
}

DoctorReport CheckNetwork(const DoctorRequest& request) {
  const auto deadline = Clock::now() + request.timeout;
  const std::string& host = request.network.address;
  if (host.empty()) {
    return {{kNet, "address", false, "no printer address given",
             "give --host ADDRESS; vantrel-cli discover lists the printers on this network"}};
  }
  const Lookup lookup = ResolveWithin(host, Left(deadline));
  const std::optional<ResolvedName>& resolved = lookup.value;
  if (!resolved) {
    return {{kNet, "address", false, lookup.failure.detail,
             "check the name, or give the printer's IP address (vantrel-cli discover lists them)"}};
  }
  DoctorReport report = {{kNet, "address", true, host + " is " + resolved->text, {}}};
  if (resolved->ipv4) report.push_back(CheckSubnet(*resolved->ipv4, ListLocalSubnets()));
  report.push_back(CheckConnect(request, deadline));
  if (report.back().ok) report.push_back(CheckStatus(request, deadline));
  return report;
}

}  // namespace vantrel
