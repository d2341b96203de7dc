// vantrel-printer-sim: a printer on TCP for trying the service utility
// without hardware. Prints "listening on HOST:PORT", then logs each command.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <mutex>

#include "sim_printer.h"
#include "sim_profile.h"
#include "sim_pty_server.h"
#include "sim_tcp_server.h"
#include "sim_terminal_text.h"
#include "sim_udp_program.h"

namespace {

using vantrel::sim::SimFaults;
using vantrel::sim::SimState;

struct Options {
  std::string host = "127.0.0.1";
  std::uint16_t port = 9100;
  std::string profile;
  std::optional<int> status_byte;
  std::string detail;
  std::string log;
  SimFaults faults;
  std::optional<std::size_t> close_after;
  int byte_delay_ms = 0;
  bool pty = false;
  vantrel::sim::SimUdpProgramOptions udp;
};

void AddOptions(CLI::App& app, Options& options) {
  app.add_option("--host", options.host, "Address to listen on")
      ->type_name("HOST")
      ->capture_default_str();
  app.add_option("--port", options.port, "TCP port; 0 picks a free one")
      ->type_name("PORT")
      ->capture_default_str();
  app.add_option("--profile", options.profile, "JSON profile with the printer state")
      ->type_name("FILE")
      ->check(CLI::ExistingFile);
  app.add_option("--status-byte", options.status_byte, "Status byte, overrides the profile")
      ->type_name("N")
      ->check(CLI::Range(0, 255));
  app.add_option("--detail", options.detail,
                 "8 detail bytes as 16 hex digits, overrides the profile")
      ->type_name("HEX16")
      ->check([](const std::string& text) {
        return vantrel::sim::ParseDetailHex(text) ? "" : "must be 16 hex digits";
      });
  app.add_option("--log", options.log, "Write each received command to FILE (default: stdout)")
      ->type_name("FILE");
  app.add_flag("--never-answer", options.faults.never_answer, "Record commands, answer none");
  app.add_option("--close-after", options.close_after, "Close each connection after N bytes")
      ->type_name("N");
  app.add_flag("--malformed-frames", options.faults.malformed_frames,
               "Give every braced frame a wrong length");
  app.add_option("--byte-delay", options.byte_delay_ms,
                 "Send answers one byte every MS milliseconds")
      ->type_name("MS")
      ->check(CLI::Range(0, 60000));
  app.add_flag("--ignore-detail-query", options.faults.ignore_detail_query,
               "Leave the detail query unanswered");
  app.add_flag("--refuse-connections", options.faults.refuse_connections,
               "Refuse every connection");
  app.add_flag("--pty", options.pty,
               "Serve on a pseudo-terminal instead of TCP and print 'serial line on PATH'; "
               "the fault options apply to TCP only");
  vantrel::sim::AddUdpOptions(app, options.udp);
}

SimState InitialState(const Options& options) {
  SimState state;
  if (!options.profile.empty()) state = vantrel::sim::LoadSimProfile(options.profile);
  if (options.status_byte) state.status_byte = static_cast<std::uint8_t>(*options.status_byte);
  if (!options.detail.empty()) state.detail = *vantrel::sim::ParseDetailHex(options.detail);
  return state;
}

// Blocked before the server thread starts, so only sigwait() sees them.
sigset_t BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

int Serve(const Options& options, std::ostream& log) {
  vantrel::sim::SimPrinter printer(InitialState(options));
  vantrel::sim::SimTcpServer server(printer, 0);
  SimFaults faults = options.faults;
  faults.close_after_bytes = options.close_after;
  faults.byte_delay = std::chrono::milliseconds(options.byte_delay_ms);
  server.SetFaults(faults);

  std::mutex output_mutex;
  printer.SetCommandObserver([&](std::string_view command) {
    std::lock_guard lock(output_mutex);
    log << vantrel::sim::ReadableCommand(command) << std::endl;
  });
  // Held until the listening line is out, so that it is always the first line.
  std::unique_lock hold(output_mutex);
  const sigset_t signals = BlockStopSignals();
  std::string error;
  vantrel::sim::SimPtyServer pty(printer, 0);
  const bool started =
      options.pty ? pty.Start(&error) : server.Start(options.host, options.port, &error);
  if (!started) {
    std::cerr << "vantrel-printer-sim: " << error << '\n';
    return 1;
  }
  if (options.pty) {
    std::cout << "serial line on " << pty.slave_path() << std::endl;
  } else {
    std::cout << "listening on " << options.host << ':' << server.port() << std::endl;
  }
  const auto udp = vantrel::sim::StartUdpResponder(options.udp, printer, options.host, error);
  if (!udp && !error.empty()) {
    std::cerr << "vantrel-printer-sim: " << error << '\n';
    return 1;
  }
  if (udp) std::cout << "udp on " << options.udp.host << ':' << udp->port() << std::endl;
  hold.unlock();
  int signal = 0;
  sigwait(&signals, &signal);
  server.Stop();
  pty.Stop();
  return 0;
}

int Run(int argc, char** argv) {
  CLI::App app{"Simulated thermal label printer on TCP, for tests and demonstrations."};
  app.footer(
      "Prints 'listening on HOST:PORT' once ready, then one line per received command\n"
      "(control bytes shown as <ESC>, <CR>, <LF>, <xx>). Stops on SIGINT or SIGTERM.");
  Options options;
  AddOptions(app, options);
  CLI11_PARSE(app, argc, argv);
  std::ofstream file;
  if (!options.log.empty()) {
    file.open(options.log);
    if (!file) throw std::runtime_error("cannot open log " + options.log);
  }
  return Serve(options, options.log.empty() ? std::cout : file);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "vantrel-printer-sim: " << error.what() << '\n';
    return 1;
  }
}
