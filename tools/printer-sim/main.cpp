// vantrel-printer-sim: printers on TCP for trying the service utility without hardware. Prints
// "listening on HOST:PORT" for each, then logs each command.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

#include "engine/sim_profile.h"
#include "sim_program_options.h"
#include "sim_program_serve.h"

namespace {

using vantrel::sim::SimProgramOptions;
using vantrel::sim::SimState;

constexpr const char* kFooter =
    "Prints 'listening on HOST:PORT' once ready, then one line per received command\n"
    "(control bytes shown as <ESC>, <CR>, <LF>, <xx>). Stops on SIGINT or SIGTERM.\n"
    "\n"
    "With --count N, printer i (1 to N) listens on --port + i - 1 of --host or, with\n"
    "--consecutive-hosts, on --port of the address i - 1 after --host (127.0.0.1, 127.0.0.2, ...,\n"
    "127.0.0.255, 127.0.1.0, ...); one listening line each, in that order. Its serial number and\n"
    "network name end in -NNNN, i in four digits, and its MAC is the first's plus i - 1. The\n"
    "command log then goes to --log only, each line starting with the printer's HOST:PORT.";

void AddPrinterOptions(CLI::App& app, SimProgramOptions& options) {
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
  app.add_option("--reply-delay", options.reply_delay_ms,
                 "Start every answer MS milliseconds late, as over a slow round trip; all "
                 "printers, not a fault")
      ->type_name("MS")
      ->check(CLI::Range(0, 60000));
}

void AddFaultOptions(CLI::App& app, SimProgramOptions& options) {
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
  app.add_option("--unstored", options.unstored,
                 "Take and answer the commands that change the setting reported as NAME (RIBBON, "
                 "DENSITY, ...) but leave it as it was; repeatable")
      ->type_name("NAME");
}

void AddFleetOptions(CLI::App& app, SimProgramOptions& options) {
  CLI::Option* count =
      app.add_option("--count", options.count, "Serve N printers, each with its own state")
          ->type_name("N")
          ->check(CLI::Range(std::size_t{1}, std::size_t{10000}))
          ->capture_default_str();
  app.add_flag("--consecutive-hosts", options.consecutive_hosts,
               "Put printer i on --host + i (within 127.0.0.0/8) and --port instead of on "
               "--port + i");
  app.add_option("--hosts-out", options.hosts_out,
                 "Write one HOST:PORT line per printer to FILE before the listening lines")
      ->type_name("FILE");
  app.add_option("--faulty", options.faulty,
                 "Apply the fault options to the last K printers only (default: all)")
      ->type_name("K");
  CLI::Option* pty = app.add_flag(
      "--pty", options.pty,
      "Serve one printer on a pseudo-terminal instead of TCP and print 'serial line on PATH'; "
      "the fault options apply to TCP only");
  pty->excludes(count)->excludes("--hosts-out");
  count->excludes("--udp-printers");
}

SimState InitialState(const SimProgramOptions& options) {
  SimState state;
  if (!options.profile.empty()) state = vantrel::sim::LoadSimProfile(options.profile);
  if (options.status_byte) state.status_byte = static_cast<std::uint8_t>(*options.status_byte);
  if (!options.detail.empty()) state.detail = *vantrel::sim::ParseDetailHex(options.detail);
  if (!options.udp.mac.empty()) state.net.mac = *vantrel::sim::ParseSimMac(options.udp.mac);
  return state;
}

// The faults of the printers that --faulty picks, the reply delay among them.
vantrel::sim::SimFaults FaultsOf(const SimProgramOptions& options) {
  vantrel::sim::SimFaults faults = options.faults;
  faults.close_after_bytes = options.close_after;
  faults.byte_delay = std::chrono::milliseconds(options.byte_delay_ms);
  faults.reply_delay = std::chrono::milliseconds(options.reply_delay_ms);
  return faults;
}

// Throws CLI::ValidationError for options that do not go together.
vantrel::sim::SimFleetPlan MakePlan(const SimProgramOptions& options) {
  if (options.faulty && *options.faulty > options.count) {
    throw CLI::ValidationError(
        "--faulty", "more faulty printers than --count " + std::to_string(options.count));
  }
  vantrel::sim::SimFleetPlan plan;
  auto points = vantrel::sim::SimFleetListenPoints(
      {options.host, options.port, options.count, options.consecutive_hosts});
  if (!points.failure.ok()) throw CLI::ValidationError(points.failure.detail);
  plan.points = std::move(points.points);
  plan.healthy = plan.faulty = InitialState(options);
  const auto marked = vantrel::sim::MarkUnstored(plan.faulty.config, options.unstored);
  if (!marked.ok()) throw CLI::ValidationError("--unstored", marked.detail);
  plan.faulty_faults = FaultsOf(options);
  plan.healthy_faults.reply_delay = plan.faulty_faults.reply_delay;
  plan.faulty_count = options.faulty.value_or(options.count);
  plan.hosts_out = options.hosts_out;
  plan.pty = options.pty;
  plan.udp = options.udp;
  return plan;
}

int Run(int argc, char** argv) {
  CLI::App app{"Simulated thermal label printers on TCP, for tests and demonstrations."};
  app.footer(kFooter);
  SimProgramOptions options;
  AddPrinterOptions(app, options);
  AddFaultOptions(app, options);
  vantrel::sim::AddUdpOptions(app, options.udp);
  AddFleetOptions(app, options);
  vantrel::sim::SimFleetPlan plan;
  try {
    app.parse(argc, argv);
    plan = MakePlan(options);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  std::ofstream file;
  if (!options.log.empty()) {
    file.open(options.log);
    if (!file) throw std::runtime_error("cannot open log " + options.log);
  }
  std::ostream* log = options.log.empty() ? &std::cout : &file;
  // Many printers' commands would bury the listening lines: they are logged to a file only.
  if (options.count > 1 && options.log.empty()) log = nullptr;
  return vantrel::sim::ServeFleet(plan, log);
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
