// The program's serving: the printers, their servers and the lines it prints about them.
#include "sim_program_serve.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>

#include "engine/sim_fleet_member.h"
#include "engine/sim_printer.h"
#include "engine/sim_terminal_text.h"
#include "servers/sim_pty_server.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::sim {
namespace {

struct FleetPrinter {
  FleetPrinter(const SimState& state, std::size_t received_limit)
      : printer(state), server(printer, received_limit) {}

  SimPrinter printer;
  SimTcpServer server;
  std::string address;  // "HOST:PORT" once listening; read under the output lock
};

using Fleet = std::vector<std::unique_ptr<FleetPrinter>>;

int Failed(const SimFailure& failure) {
  std::cerr << "vantrel-printer-sim: " << failure.detail << '\n';
  return 1;
}

// Blocked before any serving thread starts, so only sigwait() sees them.
sigset_t BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

// A server that stops serving ends the program as a stop signal would, but with its failure.
SimServingHooks StopOnFailure(std::atomic<bool>& failed) {
  SimServingHooks hooks;
  hooks.stopped = [&failed](const SimFailure& failure) {
    Failed(failure);
    failed = true;
    ::kill(::getpid(), SIGTERM);
  };
  return hooks;
}

// A printer holds its listener, and its client while one is connected; the fleet shares one
// wake event. Without room for every listener the fleet is refused before any printer serves;
// with too little for every client it is said how many can be connected at once.
SimFailure FitOpenFileLimit(std::size_t printers) {
  constexpr rlim_t kSpare = 64;  // standard streams, log, datagram socket, hosts file
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return SystemFailure("getrlimit");
  const rlim_t wanted = 2 * printers + kSpare;
  if (limit.rlim_cur < wanted && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) ::getrlimit(RLIMIT_NOFILE, &limit);
  }
  if (limit.rlim_cur >= wanted) return {};
  const rlim_t room = limit.rlim_cur > kSpare ? limit.rlim_cur - kSpare : 0;
  const std::string limit_text = "the open-file limit is " + std::to_string(limit.rlim_cur);
  if (room <= printers) {
    return {"cannot serve " + std::to_string(printers) + " printers: " + limit_text +
            ", enough for at most " + std::to_string(room / 2) +
            " (raise the hard limit: ulimit -Hn)"};
  }
  std::cerr << "vantrel-printer-sim: " << limit_text << ": at most " << room - printers
            << " of the " << printers
            << " printers can be connected at once; the others' connections wait\n";
  return {};
}

Fleet MakeFleet(const SimFleetPlan& plan, const SimServingHooks& hooks, WakeEvent& stop) {
  const std::size_t count = plan.points.size();
  // A fleet keeps no received bytes, so that each printer stays small.
  const std::size_t received_limit = count == 1 ? SimTcpServer::kDefaultReceivedLimit : 0;
  Fleet fleet;
  fleet.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const bool faulty = i >= count - plan.faulty_count;
    const SimState state = SimFleetMemberState(faulty ? plan.faulty : plan.healthy, i, count);
    fleet.push_back(std::make_unique<FleetPrinter>(state, received_limit));
    fleet.back()->server.SetFaults(faulty ? plan.faulty_faults : plan.healthy_faults);
    fleet.back()->server.SetServingHooks(hooks);
    if (count > 1) fleet.back()->server.ShareStopEvent(stop);
  }
  return fleet;
}

void LogCommands(Fleet& fleet, std::ostream& log, std::mutex& output_mutex) {
  const bool prefixed = fleet.size() > 1;
  for (const auto& member : fleet) {
    member->printer.SetCommandObserver(
        [&log, &output_mutex, prefixed, &address = member->address](std::string_view command) {
          std::lock_guard lock(output_mutex);
          if (prefixed) log << address << ' ';
          log << ReadableCommand(command) << std::endl;
        });
  }
}

SimFailure StartFleet(Fleet& fleet, const std::vector<SimListenPoint>& points) {
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    const SimListenPoint& point = points[i];
    SimTcpServer& server = fleet[i]->server;
    if (SimFailure failure = server.Start(point.host, point.port); !failure.ok()) {
      if (fleet.size() > 1) failure.detail = point.host + ": " + failure.detail;
      return failure;
    }
    fleet[i]->address = point.host + ':' + std::to_string(server.port());
  }
  return {};
}

SimFailure WriteHostsFile(const std::string& path, const Fleet& fleet) {
  std::ofstream file(path);
  for (const auto& member : fleet) file << member->address << '\n';
  file.close();
  if (!file) return SystemFailure("cannot write " + path);
  return {};
}

StartedUdpResponder StartFleetUdp(const SimFleetPlan& plan, const Fleet& fleet,
                                  const SimServingHooks& hooks) {
  std::vector<SimPrinter*> printers;
  std::vector<std::string> hosts;
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    printers.push_back(&fleet[i]->printer);
    hosts.push_back(plan.points[i].host);
  }
  return StartUdpResponder(plan.udp, printers, hosts, hooks);
}

void PrintWhereServed(const SimFleetPlan& plan, const Fleet& fleet, const SimPtyServer& pty,
                      const SimUdpResponder* udp) {
  if (plan.pty) {
    std::cout << "serial line on " << pty.slave_path() << '\n';
  } else {
    for (const auto& member : fleet) std::cout << "listening on " << member->address << '\n';
  }
  if (udp != nullptr) std::cout << "udp on " << plan.udp.host << ':' << udp->port() << '\n';
  std::cout << std::flush;
}

}  // namespace

int ServeFleet(const SimFleetPlan& plan, std::ostream* log) {
  if (const SimFailure failure = FitOpenFileLimit(plan.points.size()); !failure.ok()) {
    return Failed(failure);
  }
  std::mutex output_mutex;  // outlives the fleet, whose threads log under it
  std::atomic<bool> failed = false;
  const SimServingHooks hooks = StopOnFailure(failed);
  WakeEvent stop;  // outlives the fleet, whose servers share it
  if (const SimFailure failure = stop.Open(); !failure.ok()) return Failed(failure);
  Fleet fleet = MakeFleet(plan, hooks, stop);
  if (log != nullptr) LogCommands(fleet, *log, output_mutex);
  const sigset_t signals = BlockStopSignals();
  // Before the printers serve: it shares their network state, set here under their locks.
  const StartedUdpResponder udp = StartFleetUdp(plan, fleet, hooks);
  if (!udp.failure.ok()) return Failed(udp.failure);
  // Held until the listening lines are out, so that they come before any command.
  std::unique_lock hold(output_mutex);
  SimPtyServer pty(fleet.front()->printer, 0);
  pty.SetServingHooks(hooks);
  SimFailure failure = plan.pty ? pty.Start() : StartFleet(fleet, plan.points);
  if (failure.ok() && !plan.hosts_out.empty()) failure = WriteHostsFile(plan.hosts_out, fleet);
  if (!failure.ok()) return Failed(failure);
  PrintWhereServed(plan, fleet, pty, udp.responder.get());
  hold.unlock();
  int signal = 0;
  sigwait(&signals, &signal);
  return failed ? 1 : 0;
}

}  // namespace vantrel::sim
