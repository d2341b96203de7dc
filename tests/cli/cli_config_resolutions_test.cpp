// A configuration document applied to printers of other resolutions: its lengths in dots are
// converted, so that every printer then shows the document's lengths.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "config/config_file.h"
#include "engine/sim_profile.h"
#include "servers/sim_tcp_server.h"
#include "support/cli_runner.h"
#include "support/resetting_printers.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::Slurp;

struct ProfiledPrinter {
  std::string profile;
  std::unique_ptr<sim::SimPrinter> printer;
  std::unique_ptr<sim::SimTcpServer> server;
  std::string target;

  std::string Net() const {
    return "-i net --host 127.0.0.1 --port " + std::to_string(server->port());
  }
};

// "Common / Paper Width" -> "4.00": every length shown in inches, by page and caption.
std::map<std::string, std::string> LengthsInInches(const std::string& text) {
  static const std::regex kRow(R"(^  (\S.*\S)\s+(-?[0-9.]+) in(?: \(.*\))?$)");
  std::map<std::string, std::string> lengths;
  std::istringstream in(text);
  std::string page;
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (!line.empty() && line[0] != ' ') page = line;
    if (std::regex_match(line, match, kRow)) lengths[page + " / " + match[1].str()] = match[2];
  }
  return lengths;
}

class CliConfigResolutionsTest : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& profiles) {
    std::ofstream hosts(HostsFile());
    for (const std::string& profile : profiles) {
      ProfiledPrinter& p = printers_.emplace_back();
      p.profile = profile;
      p.printer = std::make_unique<sim::SimPrinter>(
          sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profile));
      p.server = std::make_unique<sim::SimTcpServer>(*p.printer);
      ASSERT_TRUE(p.server->Start("127.0.0.1", 0).ok());
      p.target = "127.0.0.1:" + std::to_string(p.server->port());
      hosts << p.target << '\n';
    }
  }

  static std::string HostsFile() { return testing::TestFile("resolution_hosts.txt"); }

  // The first printer's configuration with lengths in dots on every page that a wrong
  // resolution would move.
  std::string Document() {
    const std::string path = testing::TestFile("resolution_document.dcf");
    const CliRun read = RunCli(printers_[0].Net() + " config read --out " + path);
    EXPECT_EQ(read.status, 0) << read.err;
    ConfigFileContents contents;
    EXPECT_TRUE(LoadConfigFile(path, contents).ok());
    PrinterConfig& c = contents.config;
    c.ReferenceX.Set(16);
    c.Offset.Set(-12);
    c.ShiftX.Set(8);
    c.ShiftY.Set(-4);
    c.PrintWidthZ.Set(771);
    c.ColumnOffsetD.Set(20);
    c.RowOffsetD.Set(41);
    EXPECT_TRUE(SaveConfigFile(path, contents).ok());
    return path;
  }

  // The report's lines by target.
  static std::map<std::string, nlohmann::json> Lines(const std::string& text) {
    std::map<std::string, nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      const auto json = nlohmann::json::parse(line);
      if (!json.contains("summary")) lines[json["target"]] = json;
    }
    return lines;
  }

  std::map<std::string, nlohmann::json> Apply(const std::string& document,
                                              const std::string& page) {
    const CliRun run = RunCli("fleet --hosts " + HostsFile() + " --wait 1500 --json config apply " +
                              document + " --block " + page);
    return Lines(run.out);
  }

  // Outlives the printers it watches.
  testing::ResettingPrinters resetting_;
  std::vector<ProfiledPrinter> printers_;
};

TEST_F(CliConfigResolutionsTest, EveryPrinterShowsTheDocumentsLengthsAfterAVerifiedApply) {
  Start({"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json"});
  const std::string document = Document();
  const std::map<std::string, std::string> conversions = {
      {"printer-203dpi.json", ""},
      {"printer-300dpi.json", "converted from 203 to 300 dpi"},
      {"printer-600dpi.json", "converted from 203 to 600 dpi"}};
  for (const char* page : {"common", "z", "d"}) {
    const auto lines = Apply(document, page);
    for (const ProfiledPrinter& p : printers_) {
      const nlohmann::json& line = lines.at(p.target);
      EXPECT_EQ(line["outcome"], "verified") << page << ": " << line;
      const std::string conversion = conversions.at(p.profile);
      if (!conversion.empty()) {
        EXPECT_NE(line["detail"].get<std::string>().find(conversion), std::string::npos) << line;
      }
    }
  }
  const std::map<std::string, std::string> wanted =
      LengthsInInches(RunCli("config show " + document).out);
  ASSERT_EQ(wanted.size(), 8u) << RunCli("config show " + document).out;
  for (const ProfiledPrinter& p : printers_) {
    const CliRun read = RunCli(p.Net() + " config read --unit inch");
    EXPECT_EQ(LengthsInInches(read.out), wanted) << p.profile;
    const CliRun diff = RunCli(p.Net() + " config diff " + document + " --printer");
    EXPECT_EQ(diff.status, 0) << p.profile << ": " << diff.out;
  }
}

TEST_F(CliConfigResolutionsTest, ItemsAPrinterDoesNotReportAreWrittenAndNotVerified) {
  Start({"printer-203dpi.json", "printer-older.json"});
  const std::string document = Document();
  const auto lines = Apply(document, "common");
  const nlohmann::json& older = lines.at(printers_[1].target);
  EXPECT_EQ(older["outcome"], "changed") << older;
  EXPECT_NE(older["detail"].get<std::string>().find(
                "not reported by the printer, not verified: Common / Shift X (dots), Common / "
                "Reprint After Error"),
            std::string::npos)
      << older;
}

TEST_F(CliConfigResolutionsTest, VerifiedWriteConvertsAndAPlainWriteSendsTheFileAsItIs) {
  Start({"printer-203dpi.json", "printer-300dpi.json"});
  const std::string document = Document();
  const ProfiledPrinter& p300 = printers_[1];
  const CliRun plain = RunCli(p300.Net() + " config write " + document + " --block z");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(p300.printer->state().config.reports.at("ZLABELWIDTH"), "771");
  EXPECT_EQ(RunCli(p300.Net() + " config diff " + document + " --printer --block z").status, 10);

  const CliRun verified = RunCli(p300.Net() + " config write " + document + " --block z --verify");
  EXPECT_EQ(verified.status, 0) << verified.err;
  EXPECT_NE(verified.err.find("converted from 203 to 300 dpi"), std::string::npos) << verified.err;
  EXPECT_EQ(p300.printer->state().config.reports.at("ZLABELWIDTH"), "1139");
  const CliRun diff = RunCli(p300.Net() + " config diff " + document + " --printer --block z");
  EXPECT_EQ(diff.status, 0) << diff.out;
  EXPECT_NE(diff.out.find("(203 dpi) with the printer (300 dpi)\n"), std::string::npos) << diff.out;
}

TEST_F(CliConfigResolutionsTest, APageTheDocumentSetsNothingOnIsRefusedBeforeAnyPrinter) {
  Start({"printer-300dpi.json"});
  ConfigFileContents contents;
  ResetConfig(contents.config);
  contents.config.Speed.Set(4.0F);
  const std::string document = testing::TestFile("resolution_common_only.dcf");
  ASSERT_TRUE(SaveConfigFile(document, contents).ok());
  const std::string net = printers_[0].Net();
  for (const std::string& command :
       {net + " config write " + document + " --block z",
        net + " config write " + document + " --block d --verify",
        net + " config diff " + document + " --printer --block z",
        "fleet --hosts " + HostsFile() + " config apply " + document + " --block d"}) {
    const CliRun run = RunCli(command);
    EXPECT_EQ(run.status, 6) << command;
    EXPECT_NE(run.err.find("sets nothing on the"), std::string::npos) << run.err;
  }
  EXPECT_EQ(printers_[0].server->ConnectionCount(), 0u);
}

TEST_F(CliConfigResolutionsTest, APrinterThatResetsHalfWayThroughAConvertedApplyFails) {
  Start({"printer-203dpi.json", "printer-600dpi.json"});
  const std::string document = Document();
  resetting_.Watch(*printers_[1].printer, *printers_[1].server, "\x10");
  const auto lines = Apply(document, "z");
  EXPECT_EQ(lines.at(printers_[0].target)["outcome"], "verified");
  const nlohmann::json& reset = lines.at(printers_[1].target);
  EXPECT_EQ(reset["outcome"], "failed") << reset;
}

// One printer at a time: a plan names old -> new at each resolution, the apply backs up what it
// read under the serial number and verifies, and a printer that resets half way keeps its backup.
TEST_F(CliConfigResolutionsTest, ASinglePrinterApplyIsPlannedBackedUpAndVerified) {
  Start({"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json"});
  const std::string document = Document();
  for (const ProfiledPrinter& p : printers_) {
    SCOPED_TRACE(p.profile);
    const std::string folder = testing::TestFile("apply_" + p.profile);
    const std::string apply =
        p.Net() + " config apply " + document + " --block z --backup-dir " + folder;
    const CliRun plan = RunCli(apply + " --plan");
    EXPECT_EQ(plan.status, 10) << plan.err;
    EXPECT_NE(plan.out.find("Print Width "), std::string::npos) << plan.out;
    const std::string read = testing::TestFile("apply_read.dcf");
    ASSERT_EQ(RunCli(p.Net() + " config read --out " + read).status, 0);
    const CliRun written = RunCli(apply);
    EXPECT_EQ(written.status, 0) << written.err;
    const std::string serial = p.printer->state().config.serial_number.value_or("");
    ASSERT_FALSE(serial.empty());
    EXPECT_EQ(written.out, "Backup: " + folder + "/" + serial + ".dcf\n");
    EXPECT_EQ(Slurp(folder + "/" + serial + ".dcf"), Slurp(read));
    EXPECT_EQ(RunCli(apply + " --plan").out, "Nothing to change\n");
  }
  // A text document's plan speaks its unit.
  const std::string text = testing::TestFile("apply_document.json");
  ASSERT_EQ(RunCli("config export " + document + " --unit mm --out " + text).status, 0);
  ASSERT_EQ(RunCli("config set " + text + " Common.PaperWidth=50.00mm").status, 0);
  const CliRun mm = RunCli(printers_[0].Net() + " config apply " + text + " --plan");
  EXPECT_NE(mm.out.find("Paper Width 101.50mm -> 50.00mm"), std::string::npos) << mm.out;

  const ProfiledPrinter& p = printers_[2];
  resetting_.Watch(*p.printer, *p.server, "SPEED ");
  const std::string folder = testing::TestFile("apply_reset");
  const CliRun reset =
      RunCli(p.Net() + " config apply " + document + " --block common --backup-dir " + folder);
  EXPECT_GE(reset.status, 2) << reset.err;
  EXPECT_LE(reset.status, 3) << reset.err;
  EXPECT_NE(reset.out.find("Backup: " + folder + "/"), std::string::npos) << reset.out;
}

}  // namespace
}  // namespace vantrel
