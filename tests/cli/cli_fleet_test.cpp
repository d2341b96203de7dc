// fleet: one operation over many simulated printers with mixed faults, its report and its end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "config/config_file.h"
#include "config/config_items.h"
#include "engine/sim_profile.h"
#include "ops/write_configuration.h"
#include "support/cli_process.h"
#include "support/cli_runner.h"
#include "support/resetting_printers.h"
#include "support/sim_fixture.h"
#include "support/unanswered_connects.h"

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
  // Backups of config apply go under the state folder: never the user's own.
  CliFleetTest() {
    ::setenv("XDG_STATE_HOME", testing::TestFile("state").c_str(), 1);
    ::setenv("HOME", testing::TestFile("home").c_str(), 1);
  }

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

  // A host file of 4096 bytes named `name`, in a folder of its own so its name is as given.
  static std::string DownloadFile(const std::string& name) {
    const std::string folder = testing::TestFile("download");
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/" + name, std::ios::binary) << std::string(4096, 'x');
    return folder + "/" + name;
  }

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
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " clock set 2026-13-01T00:00:00").status, 6);
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " config apply " + bad + " --block z").status,
            6);
  std::ofstream(bad) << printers_[0].target << "\n" << printers_[0].target << " Darkness=31\n";
  const CliRun override = RunCli("fleet --hosts " + bad + " status");
  EXPECT_EQ(override.status, 6);
  EXPECT_NE(override.err.find("line 2: Z.Darkness: must be from 0 to 30"), std::string::npos)
      << override.err;
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

// The clock and the files reach a healthy printer; a printer that resets once it has read 20
// bytes is failed, whether or not its TCP had acknowledged every byte.
TEST_F(CliFleetTest, ClockAndFilesChangeEachPrinterOrFail) {
  Start({Kind::kHealthy, Kind::kHealthy});
  sim::SimFaults cut;
  cut.close_after_bytes = 20;
  printers_[1].server->SetFaults(cut);
  const std::string logo = DownloadFile("LOGO.PCX");
  const struct {
    std::string operation;
    std::string changed;
    std::string outcome;
  } cases[] = {{"clock set 2026-01-02T03:04:05", "2026-01-02 03:04:05", "changed"},
               {"files download " + logo, "LOGO", "verified"}};
  for (const auto& c : cases) {
    const CliRun run = RunCli("fleet --hosts " + HostsFile() + " --json " + c.operation);
    EXPECT_EQ(run.status, 2) << c.operation << ": " << run.err;
    nlohmann::json summary;
    const auto lines = Lines(run.out, summary);
    const nlohmann::json& healthy = lines.at(printers_[0].target);
    EXPECT_EQ(healthy["outcome"], c.outcome) << healthy;
    EXPECT_EQ(healthy["changed"], nlohmann::json({c.changed})) << healthy;
    EXPECT_EQ(lines.at(printers_[1].target)["outcome"], "failed") << run.out;
  }
}

// The single command's options and name rules; a file counts as stored only when the printer
// lists it afterwards, which a full memory does not, and a printer cut off part way is failed.
TEST_F(CliFleetTest, FilesDownloadFollowsTheSingleCommandAndTrustsOnlyTheList) {
  Start({Kind::kHealthy, Kind::kHealthy, Kind::kHealthy});
  printers_[1].printer->UpdateState([](sim::SimState& s) {
    for (sim::SimMemory& memory : s.memory.memories) memory.free_kb = 1;
  });
  sim::SimFaults cut;
  cut.close_after_bytes = 600;
  printers_[2].server->SetFaults(cut);
  const std::string logo = DownloadFile("logo.pcx");
  const struct {
    std::string options;
    std::string stored;
    int memory;
    int full_code;
    std::string full_detail;
  } cases[] = {{"--type pcx", "logo.PCX", 1, 3, "logo.PCX is not listed in FLASH"},
               {"--name LOGO2.PCX --memory dram --check-space", "LOGO2.PCX", 0, 6,
                "LOGO2.PCX needs 4 KB; DRAM has 1 KB free"}};
  for (const auto& c : cases) {
    const CliRun run = RunCli("fleet --hosts " + HostsFile() +
                              " --wait 500 --json files download " + logo + " " + c.options);
    EXPECT_EQ(run.status, 2) << c.options << ": " << run.err;
    nlohmann::json summary;
    const auto lines = Lines(run.out, summary);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const nlohmann::json& healthy = lines.at(printers_[0].target);
    EXPECT_EQ(healthy["outcome"], "verified") << healthy;
    EXPECT_EQ(healthy["changed"], nlohmann::json({c.stored})) << healthy;
    const auto files =
        printers_[0].printer->state().memory.memories[static_cast<std::size_t>(c.memory)].files;
    EXPECT_NE(std::find(files.begin(), files.end(), std::pair{c.stored, std::string(4096, 'x')}),
              files.end())
        << c.stored;
    const nlohmann::json& full = lines.at(printers_[1].target);
    EXPECT_EQ(full["outcome"], "failed") << full;
    EXPECT_EQ(full["code"], c.full_code) << full;
    EXPECT_NE(full["detail"].get<std::string>().find(c.full_detail), std::string::npos) << full;
    EXPECT_EQ(lines.at(printers_[2].target)["outcome"], "failed") << run.out;
  }
  EXPECT_EQ(RunCli("fleet --hosts " + HostsFile() + " files download " + logo + " " + logo +
                   " --name TWO")
                .status,
            64);
}

// The tables show what was read, from printers that differ; one printer spelled three ways is
// asked once, and one that resets part way through is failed.
TEST_F(CliFleetTest, StatusAndIdentityShowWhatWasRead) {
  Start({Kind::kHealthy, Kind::kHealthy, Kind::kHealthy, Kind::kHealthy});
  const std::string profiles[] = {"printer-300dpi.json", "printer-600dpi.json",
                                  "printer-older.json", "printer-203dpi.json"};
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    printers_[i].printer->SetState(
        sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profiles[i]));
    printers_[i].printer->UpdateState([i](sim::SimState& s) {
      s.config.serial_number = "SN-" + std::to_string(i);
      s.config.reports["MILAGE"] = std::to_string(i) + ".5";
    });
  }
  printers_[1].printer->UpdateState([](sim::SimState& s) { s.status_byte = 0x11; });
  std::ofstream(HostsFile(), std::ios::app)
      << "localhost:" << printers_[0].server->port()
      << "\n127.000.0.1:" << printers_[0].server->port() << '\n';
  const auto reset_after = [this](std::size_t bytes) {
    sim::SimFaults cut;
    cut.close_after_bytes = bytes;
    printers_[3].server->SetFaults(cut);
  };

  reset_after(2);
  const CliRun json = RunCli("fleet --hosts " + HostsFile() + " --wait 500 --json status");
  EXPECT_EQ(json.status, 2) << json.err;
  EXPECT_EQ(printers_[0].server->ConnectionCount(), 1u);
  nlohmann::json summary;
  const auto lines = Lines(json.out, summary);
  ASSERT_EQ(lines.size(), 4u) << json.out;
  EXPECT_EQ(lines.at(printers_[1].target)["values"],
            nlohmann::json::parse(R"({"flags": [1,0,0,0,1,0,0,0,0,0],
                                      "lit": ["Head Open", "Pause"]})"));
  EXPECT_EQ(lines.at(printers_[3].target)["outcome"], "failed");
  EXPECT_TRUE(lines.at(printers_[3].target)["values"].is_null());

  const CliRun status = RunCli("fleet --hosts " + HostsFile() + " --wait 500 status");
  EXPECT_NE(status.out.find(printers_[0].target), std::string::npos) << status.out;
  for (const std::string row : {"unchanged   0    ", "Head Open, Pause\n", "; 1 not Ready"}) {
    EXPECT_NE(status.out.find(row), std::string::npos) << row << " in " << status.out;
  }

  reset_after(60);
  const CliRun identity = RunCli("fleet --hosts " + HostsFile() + " --wait 500 identity");
  EXPECT_EQ(identity.status, 2) << identity.err;
  for (std::size_t i = 0; i < 3; ++i) {
    const sim::SimState state = printers_[i].printer->state();
    const std::string shown = "version " + state.config.reports.at("VERSION") + ", serial SN-" +
                              std::to_string(i) + ", checksum " +
                              state.config.reports.at("CHECKSUM") + ", mileage " +
                              std::to_string(i) + ".5\n";
    EXPECT_NE(identity.out.find(shown), std::string::npos) << shown << " in " << identity.out;
  }
  EXPECT_NE(identity.out.find("failed"), std::string::npos) << identity.out;
}

// Printers that differ in resolution and age, each with its own serial number.
class CliFleetWriteTest : public CliFleetTest {
 protected:
  void StartProfiled(const std::vector<std::string>& profiles) {
    Start(std::vector<Kind>(profiles.size(), Kind::kHealthy));
    for (std::size_t i = 0; i < profiles.size(); ++i) {
      printers_[i].printer->SetState(
          sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profiles[i]));
      printers_[i].printer->UpdateState(
          [i](sim::SimState& s) { s.config.serial_number = "SN-" + std::to_string(i); });
    }
  }

  // Each printer's line of a --json run, and its exit status.
  std::map<std::string, nlohmann::json> RunJson(const std::string& operation, int& status) {
    const CliRun run = RunCli("fleet --hosts " + HostsFile() + " --wait 500 --json " + operation);
    status = run.status;
    nlohmann::json summary;
    return Lines(run.out, summary);
  }

  std::string Report(std::size_t printer, const std::string& name) const {
    return printers_[printer].printer->state().config.reports.at(name);
  }
};

// A plan shows each item old -> new at each printer's own resolution, with a printer's override
// on top; the apply backs each printer up by serial number before writing, after which a plan
// finds nothing to change.
TEST_F(CliFleetWriteTest, PlanThenApplyWithBackupsThenNothingToPlan) {
  StartProfiled(
      {"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json", "printer-203dpi.json"});
  std::ofstream hosts(HostsFile());
  for (std::size_t i = 0; i < 3; ++i) hosts << printers_[i].target << '\n';
  hosts << printers_[3].target << "  Darkness=25 Z.PrintMode=PEEL OFF  # the dock\n";
  hosts.close();
  ConfigFileContents standard;
  ResetConfig(standard.config);
  standard.config.Dpi.Set(203.0F);
  standard.config.DotsPerMm = 8.0F;
  standard.config.PrintWidthZ.Set(812);
  standard.config.DarknessZ.Set(20);
  const std::string file = testing::TestFile("fleet_z.dcf");
  ASSERT_TRUE(SaveConfigFile(file, standard).ok());
  const std::string read_dir = testing::TestFile("fleet_read");
  int status = -1;
  RunJson("config read --out-dir " + read_dir, status);
  ASSERT_EQ(status, 0);

  const auto plan = RunJson("config apply " + file + " --block z --plan", status);
  EXPECT_EQ(status, 10);
  const auto darkness = [](std::string old_value, std::string new_value) {
    return nlohmann::json{{"item", "Darkness"}, {"old", old_value}, {"new", new_value}};
  };
  const auto width = [](std::string old_value, std::string new_value) {
    return nlohmann::json{{"item", "Print Width"}, {"old", old_value}, {"new", new_value}};
  };
  // Explicit arrays: a braced list of one json value is that value to some compilers.
  const nlohmann::json expected[] = {
      nlohmann::json::array({darkness("15", "20")}),
      nlohmann::json::array({darkness("100", "20"), width("4.10in (1230)", "4.00in (1200)")}),
      nlohmann::json::array({darkness("100", "20"), width("4.10in (2460)", "4.00in (2400)")}),
      nlohmann::json::array({darkness("15", "25"),
                             {{"item", "Print Mode"}, {"old", "TEAR OFF"}, {"new", "PEEL OFF"}}})};
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const nlohmann::json& line = plan.at(printers_[i].target);
    EXPECT_EQ(line["outcome"], "changed") << line;
    EXPECT_EQ(line["plan"], expected[i]) << line;
    EXPECT_EQ(line["changed"].size(), expected[i].size()) << line;
    EXPECT_FALSE(line.contains("backup")) << line;
  }
  EXPECT_EQ(Report(1, "ZDARKNESS"), "100");
  const CliRun table =
      RunCli("fleet --hosts " + HostsFile() + " config apply " + file + " --block z --dry-run");
  EXPECT_EQ(table.status, 10);
  EXPECT_NE(table.out.find("Darkness 100 -> 20, Print Width 4.10in (1230) -> 4.00in (1200)"),
            std::string::npos)
      << table.out;

  const std::string backups = testing::TestFile("fleet_backups");
  const auto applied =
      RunJson("config apply " + file + " --block z --backup-dir " + backups, status);
  EXPECT_EQ(status, 0);
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const std::string name = "/SN-" + std::to_string(i) + ".dcf";
    const nlohmann::json& line = applied.at(printers_[i].target);
    EXPECT_EQ(line["outcome"], "verified") << line;
    EXPECT_EQ(line["backup"], backups + name) << line;
    EXPECT_EQ(Slurp(backups + name), Slurp(read_dir + name)) << name;
    EXPECT_FALSE(Slurp(backups + name).empty()) << name;
  }
  EXPECT_EQ(Report(3, "ZDARKNESS"), "25");
  RunJson("config apply " + file + " --block z --plan", status);
  EXPECT_EQ(status, 0);
}

// A backup that cannot be saved keeps the printer from being written; one that resets part way
// through the write keeps its backup and is failed.
TEST_F(CliFleetWriteTest, ApplyWritesNoPrinterWithoutItsBackup) {
  StartProfiled({"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json"});
  const std::string standard = StandardFile();
  const std::string backups = testing::TestFile("fleet_unsaved");
  std::filesystem::remove_all(backups);
  std::filesystem::create_directories(backups + "/SN-1.dcf");
  int status = -1;
  // A printer cut off during a plan's read is failed, which outweighs the others' changes.
  sim::SimFaults cut;
  cut.close_after_bytes = 60;
  printers_[2].server->SetFaults(cut);
  const auto plan = RunJson("config apply " + standard + " --block common --plan", status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(plan.at(printers_[1].target)["outcome"], "changed");
  EXPECT_EQ(plan.at(printers_[2].target)["outcome"], "failed");
  printers_[2].server->SetFaults({});
  resetter_.Watch(*printers_[2].printer, *printers_[2].server, "SPEED ");
  const auto lines =
      RunJson("config apply " + standard + " --block common --backup-dir " + backups, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(lines.at(printers_[0].target)["outcome"], "verified");
  const nlohmann::json& unsaved = lines.at(printers_[1].target);
  EXPECT_EQ(unsaved["outcome"], "failed") << unsaved;
  EXPECT_EQ(unsaved["code"], 4) << unsaved;
  EXPECT_EQ(Report(1, "PAPERWIDTH"), "1219");
  const nlohmann::json& reset = lines.at(printers_[2].target);
  EXPECT_EQ(reset["outcome"], "failed") << reset;
  EXPECT_EQ(reset["backup"], backups + "/SN-2.dcf") << reset;
  ConfigFileContents kept;
  EXPECT_TRUE(LoadConfigFile(backups + "/SN-2.dcf", kept).ok());
  EXPECT_EQ(TextView(kept.config.SerialNo), "SN-2");

  // Without --backup-dir the backups go to a folder of their own under the state folder.
  const CliRun run = RunCli("fleet --hosts " + HostsFile() + " --wait 500 config apply " +
                            standard + " --block common");
  const std::string stamped = testing::TestFile("state") + "/vantrel/backups/";
  EXPECT_NE(run.out.find("backup " + stamped), std::string::npos) << run.out;
}

// Restore goes by the serial number a printer reports, whatever its address now: printers
// restarted on each other's ports get their own backups back; one with no backup, or with no
// serial number, is failed, and so is one that resets part way through.
TEST_F(CliFleetWriteTest, RestoreGoesBySerialNumber) {
  StartProfiled({"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json",
                 "printer-older.json", "printer-203dpi.json"});
  printers_[3].printer->UpdateState([](sim::SimState& s) { s.config.serial_number = "SN-NEW"; });
  printers_[4].printer->UpdateState([](sim::SimState& s) { s.config.serial_number.reset(); });
  const std::string backups = testing::TestFile("fleet_saved");
  int status = -1;
  RunJson("config read --out-dir " + backups, status);
  ASSERT_EQ(status, 0);
  std::filesystem::remove(backups + "/SN-NEW.dcf");
  std::map<std::size_t, std::string> darkness;
  for (std::size_t i = 0; i < 3; ++i) {
    darkness[i] = Report(i, "ZDARKNESS");
    printers_[i].printer->UpdateState([](sim::SimState& s) {
      s.config.reports["ZDARKNESS"] = "7";
      s.config.reports["SPEED"] = "2.0";
    });
  }
  // Printer i now answers on printer i+1's old port.
  std::vector<std::unique_ptr<sim::SimTcpServer>> moved;
  std::ofstream hosts(HostsFile());
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    moved.push_back(std::make_unique<sim::SimTcpServer>(*printers_[i].printer));
    const std::uint16_t port = printers_[(i + 1) % printers_.size()].server->port();
    printers_[(i + 1) % printers_.size()].server->Stop();
    hosts << "127.0.0.1:" << port << '\n';
  }
  hosts.close();
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const std::uint16_t port = printers_[(i + 1) % printers_.size()].server->port();
    ASSERT_TRUE(moved[i]->Start("127.0.0.1", port).ok()) << port;
  }
  resetter_.Watch(*printers_[2].printer, *moved[2], "SPEED ");

  const auto lines = RunJson("config restore " + backups, status);
  EXPECT_EQ(status, 2);
  const auto line_of = [&](std::size_t i) {
    return lines.at("127.0.0.1:" + std::to_string(moved[i]->port()));
  };
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(line_of(i)["outcome"], "verified") << line_of(i);
    EXPECT_EQ(Report(i, "ZDARKNESS"), darkness[i]);
    EXPECT_EQ(Report(i, "SPEED"), i == 0 ? "4.0" : "10.7");
  }
  EXPECT_EQ(line_of(2)["outcome"], "failed") << line_of(2);
  const struct {
    std::size_t printer;
    std::string reason;
  } refused[] = {{3, "no backup for serial number SN-NEW in " + backups},
                 {4, "the printer reports no serial number"}};
  for (const auto& r : refused) {
    EXPECT_EQ(line_of(r.printer)["outcome"], "failed") << line_of(r.printer);
    EXPECT_EQ(line_of(r.printer)["code"], 6);
    EXPECT_EQ(line_of(r.printer)["detail"], r.reason);
  }
}

// Two printers that reported the same serial number were both backed up: which backup is
// whose cannot be told, so neither printer is written.
TEST_F(CliFleetWriteTest, RestoreWritesNeitherOfTwoPrintersWithOneSerialNumber) {
  StartProfiled({"printer-203dpi.json", "printer-300dpi.json"});
  for (auto& p : printers_) {
    p.printer->UpdateState([](sim::SimState& s) { s.config.serial_number = "SN-0"; });
  }
  const std::string backups = testing::TestFile("fleet_twins");
  int status = -1;
  RunJson("config read --out-dir " + backups, status);
  ASSERT_EQ(status, 0);
  for (auto& p : printers_) {
    p.printer->UpdateState([](sim::SimState& s) { s.config.reports["SPEED"] = "2.0"; });
  }
  const auto lines = RunJson("config restore " + backups, status);
  EXPECT_EQ(status, 2);
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const nlohmann::json& line = lines.at(printers_[i].target);
    EXPECT_EQ(line["outcome"], "failed") << line;
    EXPECT_EQ(line["code"], 6) << line;
    EXPECT_NE(line["detail"].get<std::string>().find("2 backups of serial number SN-0 in "),
              std::string::npos)
        << line;
    EXPECT_EQ(Report(i, "SPEED"), "2.0");
  }
}

// The inventory over printers that differ: each resolution, an older printer that leaves the
// name and MAC questions unanswered (null, not a failure), and printers that reset during the
// network or the memory questions (failed).
TEST_F(CliFleetTest, IdentityInventoryNullsWhatAPrinterDoesNotKnow) {
  Start(std::vector<Kind>(6, Kind::kHealthy));
  const std::string profiles[] = {"printer-203dpi.json", "printer-300dpi.json",
                                  "printer-600dpi.json", "printer-older.json",
                                  "printer-203dpi.json", "printer-203dpi.json"};
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    printers_[i].printer->SetState(
        sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profiles[i]));
    printers_[i].printer->UpdateState([i](sim::SimState& s) {
      s.net.name = "shop, \"front\" " + std::to_string(i);
      s.net.answers_name_question = i != 3;
      s.net.answers_mac_question = i != 3;
      s.memory.memories[1].free_kb = 100 + static_cast<std::int64_t>(i);
    });
  }
  // A reset, not a close: the answer after the trigger, and every later one, is cut off.
  const auto reset_after = [](Printer& p, std::string trigger) {
    p.printer->SetCommandObserver([server = p.server.get(), trigger](std::string_view command) {
      sim::SimFaults reset;
      reset.reset_after_sent_bytes = 0;
      if (command.starts_with(trigger)) server->SetFaults(reset);
    });
  };
  reset_after(printers_[4], "DIAGNOSTIC REPORT IPMASK");
  reset_after(printers_[5], "DIAGNOSTIC REPORT FFREESPACE");
  const std::string csv = testing::TestFile("inventory.csv");
  std::ofstream(csv) << "an old inventory\n";

  const CliRun run =
      RunCli("fleet --hosts " + HostsFile() + " --wait 300 --json identity --csv " + csv);
  EXPECT_EQ(run.status, 2) << run.err;
  nlohmann::json summary;
  const auto lines = Lines(run.out, summary);
  ASSERT_EQ(lines.size(), 6u) << run.out;
  const int dpis[] = {203, 300, 600};
  for (std::size_t i = 0; i < 4; ++i) {
    const nlohmann::json& values = lines.at(printers_[i].target)["values"];
    EXPECT_EQ(lines.at(printers_[i].target)["outcome"], "unchanged") << i;
    if (i < 3) {
      EXPECT_EQ(values["dpi"], dpis[i]) << i;
    }
    EXPECT_EQ(values["flash_free_kb"], 100 + i) << i;
    EXPECT_EQ(values["ip_mode"], "static") << i;
    EXPECT_TRUE(values["ip"].is_string() && values["dram_free_kb"].is_number()) << values;
    EXPECT_EQ(values["net_name"].is_null(), i == 3) << values;
    EXPECT_EQ(values["mac"].is_null(), i == 3) << values;
  }
  for (std::size_t i = 4; i < 6; ++i) {
    EXPECT_EQ(lines.at(printers_[i].target)["outcome"], "failed") << i;
    EXPECT_TRUE(lines.at(printers_[i].target)["values"].is_null()) << i;
  }

  const std::string text = Slurp(csv);
  EXPECT_EQ(text.rfind("target,name,outcome,code,detail,version,serial,checksum,mileage,dpi,"
                       "net_name,mac,ip_mode,ip,mask,gateway,ip_in_use,dram_free_kb,"
                       "flash_free_kb\r\n",
                       0),
            0u)
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7) << text;
  EXPECT_NE(text.find(",600,\"shop, \"\"front\"\" 2\","), std::string::npos) << text;
  for (std::size_t i = 4; i < 6; ++i) {
    const std::size_t row = text.find(printers_[i].target + ',');
    ASSERT_NE(row, std::string::npos) << text;
    EXPECT_NE(text.substr(row, text.find('\n', row) - row).find(",failed,"), std::string::npos);
  }
}

// Ctrl-C, a kill or a hang-up: no printer starts after it, those in flight finish (after a
// second one they end at once, failed), and the report holds every printer that was contacted.
class CliFleetInterruptTest : public CliFleetTest {
 protected:
  // Starts `fleet --json status` over 12 printers whose answers come `delay` late, three at a
  // time, with its output to `out` (or nowhere).
  testing::CliProcess StartSlowRun(std::chrono::milliseconds delay, int out = -1) {
    if (printers_.empty()) Start(std::vector<Kind>(12, Kind::kHealthy));
    sim::SimFaults slow;
    slow.reply_delay = delay;
    before_.clear();
    for (Printer& p : printers_) {
      p.server->SetFaults(slow);
      before_.push_back(p.server->ConnectionCount());
    }
    std::remove(report_.c_str());
    return testing::CliProcess({"fleet", "--hosts", HostsFile(), "--parallel", "3", "--json",
                                "--report", report_, "status"},
                               out);
  }

  void AwaitFirstInFlight() const {
    for (int i = 0; i < 500 && printers_[0].server->ConnectionCount() == before_[0]; ++i) {
      std::this_thread::sleep_for(10ms);
    }
  }

  // The report's lines once the run has ended, stopped: each printer contacted has one.
  std::map<std::string, nlohmann::json> Stopped(testing::CliProcess& run, nlohmann::json& summary) {
    const int status = run.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    const auto lines = Lines(Slurp(report_), summary);
    EXPECT_EQ(summary["interrupted"], true);
    EXPECT_EQ(summary["total"].get<std::size_t>() + summary["not_started"].get<std::size_t>(),
              printers_.size());
    EXPECT_LT(lines.size(), printers_.size());
    for (std::size_t i = 0; i < printers_.size(); ++i) {
      const Printer& p = printers_[i];
      EXPECT_EQ(lines.count(p.target), p.server->ConnectionCount() > before_[i] ? 1u : 0u)
          << p.target;
    }
    return lines;
  }

  // Sends `signals` once the first printer is in flight; returns the report's lines.
  std::map<std::string, nlohmann::json> Interrupt(std::chrono::milliseconds delay,
                                                  const std::vector<int>& signals,
                                                  nlohmann::json& summary) {
    testing::CliProcess run = StartSlowRun(delay);
    AwaitFirstInFlight();
    for (const int signal : signals) {
      run.Signal(signal);
      // The program counts each signal; a gap keeps two from arriving as one.
      std::this_thread::sleep_for(100ms);
    }
    return Stopped(run, summary);
  }

  std::string report_ = testing::TestFile("fleet_interrupted.jsonl");
  std::vector<std::size_t> before_;  // each printer's connections before the run
};

TEST_F(CliFleetInterruptTest, ThoseInFlightFinish) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    nlohmann::json summary;
    for (const auto& [target, line] : Interrupt(150ms, {signal}, summary)) {
      EXPECT_EQ(line["outcome"], "unchanged") << signal << ": " << line;
    }
  }
}

TEST_F(CliFleetInterruptTest, ASecondInterruptEndsThoseInFlight) {
  nlohmann::json summary;
  // Without the second interrupt those in flight would answer after a minute.
  const auto lines = Interrupt(60s, {SIGINT, SIGHUP}, summary);
  EXPECT_EQ(summary["failed"], lines.size());
  for (const auto& [target, line] : lines) {
    EXPECT_EQ(line["outcome"], "failed") << line;
    EXPECT_NE(line["detail"].get<std::string>().find("cancel"), std::string::npos) << line;
  }
}

// The reader of the JSON lines goes away after the first: the run stops as after Ctrl-C.
TEST_F(CliFleetInterruptTest, AReaderThatGoesAwayStopsTheRun) {
  int pipe[2];
  // Close-on-exec: the run must not hold the reading end itself.
  ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
  testing::CliProcess run = StartSlowRun(150ms, pipe[1]);
  ::close(pipe[1]);
  ::close(pipe[0]);
  nlohmann::json summary;
  for (const auto& [target, line] : Stopped(run, summary)) {
    EXPECT_EQ(line["outcome"], "unchanged") << line;
  }
}

// A run killed outright leaves the whole lines of the printers it had finished.
TEST_F(CliFleetInterruptTest, AKilledRunLeavesWhatItDid) {
  testing::CliProcess run = StartSlowRun(150ms);
  for (int i = 0; i < 1000 && Slurp(report_).find('\n') == std::string::npos; ++i) {
    std::this_thread::sleep_for(10ms);
  }
  run.Signal(SIGKILL);
  run.Wait();
  nlohmann::json summary;
  const auto lines = Lines(Slurp(report_), summary);
  EXPECT_GE(lines.size(), 1u);
  EXPECT_TRUE(summary.is_null()) << summary;
  for (const auto& [target, line] : lines) EXPECT_EQ(line["outcome"], "unchanged") << line;
}

// Printers that never take the connection: the second interrupt ends the attempts too.
TEST_F(CliFleetInterruptTest, ASecondInterruptEndsConnectionAttempts) {
  std::vector<std::unique_ptr<testing::UnansweredConnects>> silent;
  std::ofstream hosts(HostsFile());
  for (int i = 0; i < 3; ++i) {
    silent.push_back(std::make_unique<testing::UnansweredConnects>());
    hosts << "127.0.0.1:" << silent.back()->port() << '\n';
  }
  hosts.close();
  testing::CliProcess run({"fleet", "--hosts", HostsFile(), "--report", report_, "status"});
  for (int i = 0; i < 1000 && !silent.back()->AttemptWaiting(); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  run.Signal(SIGINT);
  std::this_thread::sleep_for(100ms);
  run.Signal(SIGINT);
  const int status = run.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
  nlohmann::json summary;
  const auto lines = Lines(Slurp(report_), summary);
  EXPECT_EQ(lines.size(), 3u);
  for (const auto& [target, line] : lines) {
    EXPECT_EQ(line["outcome"], "failed") << line;
    EXPECT_NE(line["detail"].get<std::string>().find("cancel"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace vantrel
