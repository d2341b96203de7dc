// fleet in waves over simulated printers: a canary first, a limit on failures, and a retry of
// the printers an earlier report lists as failed.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>

#include "config/config_file.h"
#include "engine/sim_profile.h"
#include "support/cli_runner.h"
#include "support/resetting_printers.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::RunCli;

struct Printer {
  std::unique_ptr<sim::SimPrinter> printer = std::make_unique<sim::SimPrinter>();
  std::unique_ptr<sim::SimTcpServer> server = std::make_unique<sim::SimTcpServer>(*printer, 0);
  std::string target;
};

class CliFleetWavesTest : public ::testing::Test {
 protected:
  // `count` printers at 203 dpi, or of the profiles named where a name is given.
  void Start(std::size_t count, const std::vector<std::string>& profiles = {}) {
    for (std::size_t i = 0; i < count; ++i) {
      Printer& p = printers_.emplace_back();
      if (i < profiles.size() && !profiles[i].empty()) {
        p.printer->SetState(
            sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profiles[i]));
      }
      ASSERT_TRUE(p.server->Start("127.0.0.1", 0).ok());
      p.target = "127.0.0.1:" + std::to_string(p.server->port());
    }
  }

  // A hosts file of these printers in this order.
  std::string Hosts(const std::vector<std::size_t>& order) const {
    std::ofstream hosts(hosts_);
    for (const std::size_t i : order) hosts << printers_[i].target << '\n';
    return hosts_;
  }

  // The first printer's configuration with its paper width changed, as a file.
  std::string Standard() {
    const std::string path = testing::TestFile("waves_standard.dcf");
    const CliRun read =
        RunCli("-i net --host 127.0.0.1 --port " + std::to_string(printers_[0].server->port()) +
               " config read --out " + path);
    EXPECT_EQ(read.status, 0) << read.err;
    ConfigFileContents contents;
    EXPECT_TRUE(LoadConfigFile(path, contents).ok());
    contents.config.PaperWidth.value += 12.5F;
    EXPECT_TRUE(SaveConfigFile(path, contents).ok());
    return path;
  }

  std::vector<std::size_t> Connections() const {
    std::vector<std::size_t> counts;
    for (const Printer& p : printers_) counts.push_back(p.server->ConnectionCount());
    return counts;
  }

  // Runs `fleet --json` with `args` and checks that the printers `worked` have a line each and
  // that no other printer was contacted; returns the summary.
  nlohmann::json RunOn(const std::string& args, const std::vector<std::size_t>& worked,
                       int status) {
    const std::vector<std::size_t> before = Connections();
    const CliRun run = RunCli("fleet --json --wait 500 " + args);
    EXPECT_EQ(run.status, status) << args << ": " << run.err;
    std::set<std::string> lines;
    nlohmann::json summary;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) {
      const auto json = nlohmann::json::parse(line);
      if (json.contains("summary")) summary = json["summary"];
      if (json.contains("target")) lines.insert(json["target"].get<std::string>());
    }
    std::set<std::string> expected;
    for (std::size_t i = 0; i < printers_.size(); ++i) {
      const bool meant = std::find(worked.begin(), worked.end(), i) != worked.end();
      if (meant) {
        expected.insert(printers_[i].target);
      } else {
        EXPECT_EQ(printers_[i].server->ConnectionCount(), before[i]) << args << ": " << i;
      }
    }
    EXPECT_EQ(lines, expected) << args << ": " << run.out;
    return summary;
  }

  std::string hosts_ = testing::TestFile("waves_hosts.txt");
  std::vector<Printer> printers_;
  testing::ResettingPrinters resetter_;
};

// Nothing but the canary is contacted when one of it resets half way through the write, or is
// written but does not report all it was given (an older printer).
TEST_F(CliFleetWavesTest, ACanaryThatFailsHoldsTheRestBack) {
  Start(5, {"", "", "", "printer-older.json"});
  const std::string standard = Standard();
  resetter_.Watch(*printers_[1].printer, *printers_[1].server, "SIZE ");
  const struct {
    std::vector<std::size_t> order;
    std::string canary;
    std::vector<std::size_t> worked;
  } rows[] = {{{0, 1, 2, 4}, "2", {0, 1}}, {{3, 2, 4}, "1", {3}}};
  for (const auto& row : rows) {
    const nlohmann::json summary = RunOn("--hosts " + Hosts(row.order) + " --canary " + row.canary +
                                             " config apply " + standard + " --block common",
                                         row.worked, 2);
    EXPECT_EQ(summary["stopped"], "canary") << summary;
    EXPECT_EQ(summary["not_started"], row.order.size() - row.worked.size()) << summary;
  }
  const CliRun table = RunCli("fleet --hosts " + hosts_ + " --wait 500 --canary 1 config apply " +
                              standard + " --block common");
  EXPECT_NE(table.out.find("; the canary failed, 2 not started\n"), std::string::npos) << table.out;
}

// The canary at one resolution passes, and the others, at theirs, follow.
TEST_F(CliFleetWavesTest, ACanaryThatPassesLetsTheRestFollow) {
  Start(3, {"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json"});
  const std::string standard = Standard();
  const nlohmann::json summary = RunOn(
      "--hosts " + Hosts({0, 1, 2}) + " --canary 1 config apply " + standard + " --block common",
      {0, 1, 2}, 0);
  EXPECT_EQ(summary["succeeded"], 3) << summary;
  EXPECT_FALSE(summary.contains("stopped")) << summary;
}

// One at a time, the run stops starting printers at the second failure, silent or refusing.
TEST_F(CliFleetWavesTest, TheFailureLimitStopsStartingPrinters) {
  Start(5);
  printers_[0].server->SetFaults({.refuse_connections = true});
  printers_[2].server->SetFaults({.never_answer = true});
  const nlohmann::json summary = RunOn(
      "--hosts " + Hosts({0, 1, 2, 3, 4}) + " --parallel 1 --max-failures 2 status", {0, 1, 2}, 2);
  EXPECT_EQ(summary["total"], 3) << summary;
  EXPECT_EQ(summary["stopped"], "max-failures") << summary;
  EXPECT_EQ(summary["not_started"], 2) << summary;
}

// A retry works on the failed and unreachable printers of the report only; a report that lists
// none is refused.
TEST_F(CliFleetWavesTest, ARetryWorksOnTheFailedOnes) {
  Start(4);
  printers_[1].server->SetFaults({.refuse_connections = true});
  printers_[2].server->SetFaults({.never_answer = true});
  const std::string first = testing::TestFile("waves_first.jsonl");
  RunOn("--hosts " + Hosts({0, 1, 2, 3}) + " --report " + first + " status", {0, 1, 2, 3}, 2);
  for (const std::size_t i : {1, 2}) printers_[i].server->SetFaults({});
  const std::string second = testing::TestFile("waves_second.jsonl");
  const nlohmann::json summary =
      RunOn("--retry " + first + " --report " + second + " status", {1, 2}, 0);
  EXPECT_EQ(summary["total"], 2) << summary;
  const std::vector<std::size_t> before = Connections();
  const CliRun none = RunCli("fleet --retry " + second + " status");
  EXPECT_EQ(none.status, 6);
  EXPECT_NE(none.err.find(second + " lists no failed or unreachable printer"), std::string::npos)
      << none.err;
  EXPECT_EQ(RunCli("fleet --retry " + first + " --hosts " + hosts_ + " status").status, 64);
  EXPECT_EQ(Connections(), before);
}

}  // namespace
}  // namespace vantrel
