// fleet: one operation over many simulated printers with mixed faults, its report and its end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "config/config_file.h"
#include "ops/write_configuration.h"
#include "support/cli_runner.h"
#include "support/resetting_printers.h"
#include "support/sim_fixture.h"

extern char** environ;

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using testing::CliRun;
using testing::RunCli;
using testing::Slurp;

enum class Kind { kAlreadyStandard, kHealthy, kRefusing, kSilent, kResetting, kUnstored };

struct Printer {
  Kind kind = Kind::kHealthy;
  std::unique_ptr<sim::SimPrinter> printer = std::make_unique<sim::SimPrinter>();
  std::unique_ptr<sim::SimTcpServer> server = std::make_unique<sim::SimTcpServer>(*printer, 0);
  std::string target;
};

class CliFleetTest : public ::testing::Test {
 protected:
  void Start(const std::vector<Kind>& kinds) {
    std::ofstream hosts(HostsFile());
    hosts << "# the test's printers\n\n";
    for (const Kind kind : kinds) {
      Printer& p = printers_.emplace_back();
      p.kind = kind;
      ASSERT_TRUE(p.server->Start("127.0.0.1", 0).ok());
      p.target = "127.0.0.1:" + std::to_string(p.server->port());
      hosts << p.target << "   # " << static_cast<int>(kind) << '\n';
    }
  }

  static std::string HostsFile() { return testing::TestFile("fleet_hosts.txt"); }

  // The standard: the simulated printer's configuration with the ribbon and paper changed.
  std::string StandardFile() {
    const std::string read = testing::TestFile("fleet_read.dcf");
    const CliRun run =
        RunCli("-i net --host 127.0.0.1 --port " + std::to_string(printers_[0].server->port()) +
               " config read --out " + read);
    EXPECT_EQ(run.status, 0) << run.err;
    ConfigFileContents contents;
    EXPECT_TRUE(LoadConfigFile(read, contents).ok());
    contents.config.Ribbon.value = contents.config.Ribbon.value == 0 ? 1 : 0;
    contents.config.PaperWidth.value += 12.5F;
    standard_ = contents.config;
    const std::string path = testing::TestFile("fleet_standard.dcf");
    EXPECT_TRUE(SaveConfigFile(path, contents).ok());
    return path;
  }

  void Prepare() {
    for (Printer& p : printers_) {
      switch (p.kind) {
        case Kind::kAlreadyStandard: {
          LinkLayer link;
          NetworkTarget target{"127.0.0.1", p.server->port()};
          link.BindLinkSettings(nullptr, nullptr, &target);
          ASSERT_EQ(WriteConfiguration(link, kInterfaceEthernet, standard_, kBlockCommon), 0);
          break;
        }
        case Kind::kRefusing:
          p.server->SetFaults({.refuse_connections = true});
          break;
        case Kind::kSilent:
          p.server->SetFaults({.never_answer = true});
          break;
        case Kind::kResetting:
          resetter_.Watch(*p.printer, *p.server, "SPEED ");
          break;
        case Kind::kUnstored:
          p.printer->UpdateState([](sim::SimState& s) { s.config.unstored.insert("RIBBON"); });
          break;
        case Kind::kHealthy:
          break;
      }
    }
  }

  // The report's lines by target, and its summary.
  static std::map<std::string, nlohmann::json> Lines(const std::string& text,
                                                     nlohmann::json& summary) {
    std::map<std::string, nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      auto json = nlohmann::json::parse(line);
      if (json.contains("summary")) {
        summary = json["summary"];
        continue;
      }
      EXPECT_EQ(lines.count(json["target"]), 0u) << "twice: " << line;
      lines[json["target"]] = json;
    }
    return lines;
  }

  std::vector<Printer> printers_;
  PrinterConfig standard_{};
  testing::ResettingPrinters resetter_;
};

TEST_F(CliFleetTest, ApplyOverMixedFaultsReportsEveryPrinterRight) {
  std::vector<Kind> kinds;
  for (int i = 0; i < 50; ++i) {
    const int k = i % 10;
    kinds.push_back(k < 2    ? Kind::kAlreadyStandard
                    : k < 6  ? Kind::kHealthy
                    : k == 6 ? Kind::kRefusing
                    : k == 7 ? Kind::kSilent
                    : k == 8 ? Kind::kResetting
                             : Kind::kUnstored);
  }
  // The standard is read from a healthy printer.
  std::swap(kinds[0], kinds[2]);
  Start(kinds);
  const std::string standard = StandardFile();
  Prepare();
  const std::string report = testing::TestFile("fleet_report.jsonl");
  const CliRun run =
      RunCli("fleet --hosts " + HostsFile() + " --parallel 8 --wait 500 --json --report " + report +
             " config apply " + standard + " --block common");
  EXPECT_EQ(run.status, 2) << run.err;
  nlohmann::json summary;
  const auto lines = Lines(run.out, summary);
  nlohmann::json report_summary;
  EXPECT_EQ(Lines(Slurp(report), report_summary), lines);
  EXPECT_EQ(report_summary, summary);
  ASSERT_EQ(lines.size(), printers_.size()) << run.out;
  std::map<Kind, std::string> outcomes = {
      {Kind::kAlreadyStandard, "unchanged"}, {Kind::kHealthy, "verified"},
      {Kind::kRefusing, "unreachable"},      {Kind::kSilent, "failed"},
      {Kind::kResetting, "failed"},          {Kind::kUnstored, "failed"}};
  for (const Printer& p : printers_) {
    const nlohmann::json& line = lines.at(p.target);
    EXPECT_EQ(line["outcome"], outcomes[p.kind]) << line;
    const bool writes =
        p.kind == Kind::kHealthy || p.kind == Kind::kResetting || p.kind == Kind::kUnstored;
    if (writes) {
      EXPECT_EQ(line["changed"], nlohmann::json({"Paper Width", "Ribbon"})) << line;
    }
    if (p.kind == Kind::kUnstored) {
      EXPECT_EQ(line["code"], 3);
      EXPECT_NE(line["detail"].get<std::string>().find("did not take: Common / Ribbon"),
                std::string::npos)
          << line;
    }
    if (p.kind == Kind::kRefusing) {
      EXPECT_EQ(line["code"], 1);
    }
    if (p.kind == Kind::kSilent) {
      EXPECT_EQ(line["code"], 3);
    }
  }
  EXPECT_EQ(summary["total"], 50);
  EXPECT_EQ(summary["succeeded"], 30);
  EXPECT_EQ(summary["unreachable"], 5);
  EXPECT_EQ(summary["failed"], 15);

  // Now the healthy ones hold the standard: a dry run finds nothing to change there.
  const CliRun again = RunCli("fleet --hosts " + HostsFile() + " --wait 500 --json config apply " +
                              standard + " --block common --dry-run");
  const auto dry = Lines(again.out, summary);
  for (const Printer& p : printers_) {
    if (p.kind == Kind::kHealthy) {
      EXPECT_EQ(dry.at(p.target)["outcome"], "unchanged");
    }
    if (p.kind == Kind::kUnstored) {
      EXPECT_EQ(dry.at(p.target)["outcome"], "changed");
    }
  }
}

TEST_F(CliFleetTest, TargetsAndOperationsAreCheckedBeforeAnyPrinter) {
  Start({Kind::kHealthy});
  const std::string bad = testing::TestFile("fleet_bad_hosts.txt");
  std::ofstream(bad) << "127.0.0.1:9100\n127.0.0.1:99999\n";
  const CliRun port = RunCli("fleet --hosts " + bad + " status");
  EXPECT_EQ(port.status, 6);
  EXPECT_NE(port.err.find("line 2"), std::string::npos) << port.err;
  std::ofstream(bad) << "# nothing\n";
  EXPECT_EQ(RunCli("fleet --hosts " + bad + " status").status, 6);
  EXPECT_EQ(RunCli("fleet --hosts " + ::testing::TempDir() + "/none.txt status").status, 4);
  EXPECT_EQ(RunCli("fleet status").status, 64);
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " clock set 2026-13-01T00:00:00").status, 6);
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " config apply " + bad + " --block z").status,
            6);
  EXPECT_EQ(printers_[0].server->ConnectionCount(), 0u);
  const CliRun status = RunCli("fleet --hosts " + HostsFile() + " status");
  EXPECT_EQ(status.status, 0) << status.err;
  EXPECT_NE(status.out.find("1 printer: 1 succeeded, 0 failed, 0 unreachable"), std::string::npos)
      << status.out;
}

TEST_F(CliFleetTest, NoPrinterReachedIsOne) {
  Start({Kind::kRefusing, Kind::kRefusing});
  Prepare();
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " identity").status, 1);
}

// The clock and the files reach a healthy printer. A printer that resets once it has read 20
// bytes fails the download, which it reset before acknowledging whole; the clock command its TCP
// had acknowledged whole, which is all a printer that takes a command and restarts shows.
TEST_F(CliFleetTest, ClockAndFilesChangeEachPrinterOrFail) {
  Start({Kind::kHealthy, Kind::kHealthy});
  sim::SimFaults cut;
  cut.close_after_bytes = 20;
  printers_[1].server->SetFaults(cut);
  const std::string folder = testing::TestFile("download");
  std::filesystem::create_directories(folder);
  const std::string logo = folder + "/LOGO.PCX";
  // Far more than a printer's receive window holds while it reads nothing.
  std::ofstream(logo, std::ios::binary) << std::string(std::size_t{4} << 20, 'x');
  const struct {
    std::string operation;
    std::string changed;
    const char* cut_outcome;
    int status;
  } cases[] = {{"clock set 2026-01-02T03:04:05", "2026-01-02 03:04:05", "changed", 0},
               {"files download " + logo, "LOGO", "failed", 2}};
  for (const auto& c : cases) {
    const CliRun run = RunCli("fleet --hosts " + HostsFile() + " --json " + c.operation);
    EXPECT_EQ(run.status, c.status) << c.operation << ": " << run.err;
    nlohmann::json summary;
    const auto lines = Lines(run.out, summary);
    const nlohmann::json& healthy = lines.at(printers_[0].target);
    EXPECT_EQ(healthy["outcome"], "changed") << healthy;
    EXPECT_EQ(healthy["changed"], nlohmann::json({c.changed})) << healthy;
    EXPECT_EQ(lines.at(printers_[1].target)["outcome"], c.cut_outcome) << run.out;
  }
}

// Ctrl-C: no printer starts after it, those in flight finish (after a second Ctrl-C they end at
// once, failed), and the report holds every printer that was contacted.
class CliFleetInterruptTest : public CliFleetTest {
 protected:
  // Runs `fleet status` over 12 printers whose answers come `delay` late, three at a time, sends
  // `interrupts` SIGINTs once the first is in flight, and returns the report's lines.
  std::map<std::string, nlohmann::json> Interrupt(std::chrono::milliseconds delay, int interrupts,
                                                  nlohmann::json& summary) {
    Start(std::vector<Kind>(12, Kind::kHealthy));
    sim::SimFaults slow;
    slow.reply_delay = delay;
    for (Printer& p : printers_) p.server->SetFaults(slow);
    const std::string report = testing::TestFile("fleet_interrupted.jsonl");
    std::remove(report.c_str());
    std::vector<std::string> args = {VANTREL_CLI_PATH, "fleet", "--hosts", HostsFile(),
                                     "--parallel",     "3",     "--json",  "--report",
                                     report,           "status"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 500 && printers_[0].server->ConnectionCount() == 0; ++i) {
      std::this_thread::sleep_for(10ms);
    }
    for (int i = 0; i < interrupts; ++i) {
      ::kill(pid, SIGINT);
      // The program counts each signal; a gap keeps two from arriving as one.
      std::this_thread::sleep_for(100ms);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    const auto lines = Lines(Slurp(report), summary);
    EXPECT_EQ(summary["interrupted"], true);
    EXPECT_EQ(summary["total"].get<std::size_t>() + summary["not_started"].get<std::size_t>(), 12u);
    EXPECT_LT(lines.size(), 12u);
    for (const Printer& p : printers_) {
      EXPECT_EQ(lines.count(p.target), p.server->ConnectionCount() > 0 ? 1u : 0u) << p.target;
    }
    return lines;
  }
};

TEST_F(CliFleetInterruptTest, ThoseInFlightFinish) {
  nlohmann::json summary;
  for (const auto& [target, line] : Interrupt(150ms, 1, summary)) {
    EXPECT_EQ(line["outcome"], "unchanged") << line;
  }
}

TEST_F(CliFleetInterruptTest, ASecondInterruptEndsThoseInFlight) {
  nlohmann::json summary;
  // Without the second interrupt those in flight would answer after a minute.
  const auto lines = Interrupt(60s, 2, summary);
  EXPECT_EQ(summary["failed"], lines.size());
  for (const auto& [target, line] : lines) {
    EXPECT_EQ(line["outcome"], "failed") << line;
    EXPECT_NE(line["detail"].get<std::string>().find("cancel"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace vantrel
