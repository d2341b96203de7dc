// config diff and config write --verify: configuration files compared item by item, and a write
// checked against what the printer holds afterwards.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "config/config_file.h"
#include "support/cli_runner.h"
#include "support/resetting_printers.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::Slurp;

// A complete 203-dpi record, as a read of the simulated printer gives it.
PrinterConfig FullConfig() {
  sim::SimPrinter printer;
  sim::SimTcpServer server(printer);
  EXPECT_TRUE(server.Start("127.0.0.1", 0).ok());
  const std::string file = testing::TestFile("diff_full.dcf");
  const CliRun run = RunCli("-i net --host 127.0.0.1 --port " + std::to_string(server.port()) +
                            " config read --out " + file);
  EXPECT_EQ(run.status, 0) << run.err;
  ConfigFileContents contents;
  EXPECT_TRUE(LoadConfigFile(file, contents).ok());
  return contents.config;
}

std::string Save(const PrinterConfig& config, const std::string& name) {
  ConfigFileContents contents;
  contents.config = config;
  const std::string path = testing::TestFile(name);
  EXPECT_TRUE(SaveConfigFile(path, contents).ok());
  return path;
}

// How each kind of item is shown is the items' own test; here, what the command makes of one.
TEST(CliConfigDiffTest, ADifferenceIsFoundOnItsPageOnly) {
  const PrinterConfig base = FullConfig();
  const std::string a = Save(base, "diff_a.dcf");
  PrinterConfig changed = base;
  changed.PrintWidthZ.value = 406;
  const std::string b = Save(changed, "diff_b.dcf");
  const CliRun run = RunCli("config diff " + a + " " + b + " --unit mm --json");
  ASSERT_EQ(run.status, 10) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["differences"].size(), 1u) << run.out;
  const auto& difference = json["differences"][0];
  EXPECT_EQ(difference["page"], "z");
  EXPECT_EQ(difference["item"], "Print Width");
  EXPECT_EQ(difference["b"], "50.75 mm (406 dots)");
  EXPECT_NE(difference["a"], difference["b"]);
  EXPECT_EQ(RunCli("config diff " + a + " " + b + " --block z").status, 10);
  EXPECT_EQ(RunCli("config diff " + a + " " + b + " --block common").status, 0);
}

TEST(CliConfigDiffTest, EqualFilesFileErrorsAndUsage) {
  const PrinterConfig base = FullConfig();
  const std::string a = Save(base, "diff_same_a.dcf");
  const std::string b = Save(base, "diff_same_b.dcf");
  const CliRun same = RunCli("config diff " + a + " " + b);
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "Comparing " + a + " (203 dpi) with " + b + " (203 dpi)\n0 items differ\n");
  const std::string not_config = testing::TestFile("diff_not_config.dcf");
  std::ofstream(not_config) << "no configuration";
  EXPECT_EQ(RunCli("config diff " + a + " " + not_config).status, 6);
  EXPECT_EQ(RunCli("config diff " + a + " " + testing::TestFile("missing.dcf")).status, 4);
  EXPECT_EQ(RunCli("config diff " + a).status, 64);
  EXPECT_EQ(RunCli("config diff " + a + " " + b + " --printer").status, 64);
}

class CliConfigVerifyTest : public testing::SimFixture {
 protected:
  std::string Net() const {
    return "-i net --host 127.0.0.1 --port " + std::to_string(target_.port);
  }

  // The printer's configuration with the ribbon and paper width changed.
  std::string ChangedFile() {
    const std::string read = testing::TestFile("verify_read.dcf");
    EXPECT_EQ(RunCli(Net() + " config read --out " + read).status, 0);
    ConfigFileContents contents;
    EXPECT_TRUE(LoadConfigFile(read, contents).ok());
    contents.config.Ribbon.value = contents.config.Ribbon.value == 0 ? 1 : 0;
    contents.config.PaperWidth.value += 10.0F;
    return Save(contents.config, "verify_changed.dcf");
  }
};

TEST_F(CliConfigVerifyTest, AWriteThatTookIsVerifiedAndTheDiffAgainstThePrinterIsEmpty) {
  const std::string file = ChangedFile();
  EXPECT_EQ(RunCli(Net() + " config diff " + file + " --printer --block common").status, 10);
  const CliRun write = RunCli(Net() + " config write " + file + " --block common --verify");
  EXPECT_EQ(write.status, 0) << write.err;
  const CliRun diff = RunCli(Net() + " config diff " + file + " --printer --block common --json");
  EXPECT_EQ(diff.status, 0) << diff.out;
}

TEST_F(CliConfigVerifyTest, AnItemThatDoesNotTakeIsNamed) {
  printer_.UpdateState([](sim::SimState& state) { state.config.unstored.insert("RIBBON"); });
  const CliRun write =
      RunCli(Net() + " config write " + ChangedFile() + " --block common --verify");
  EXPECT_EQ(write.status, 3);
  EXPECT_NE(write.err.find("Written, not verified\nDid not take: Common / Ribbon\n"),
            std::string::npos)
      << write.err;
}

TEST_F(CliConfigVerifyTest, APrinterThatResetsHalfWayIsNeverReportedVerified) {
  const std::string file = ChangedFile();
  const std::string backup = testing::TestFile("verify_backup.dcf");
  std::remove(backup.c_str());
  // From the write's first command on, every connection is cut: the write's, and the read back's.
  testing::ResettingPrinters resetting;
  resetting.Watch(printer_, server_, "SPEED ");
  const CliRun write =
      RunCli(Net() + " config write " + file + " --block common --verify --backup " + backup);
  EXPECT_GE(write.status, 2) << write.err;
  EXPECT_LE(write.status, 3) << write.err;
  // The backup is the configuration as read before the write.
  EXPECT_EQ(Slurp(backup), Slurp(testing::TestFile("verify_read.dcf")));
}

TEST_F(CliConfigVerifyTest, ABackupThatCannotBeSavedWritesNothing) {
  const std::string file = ChangedFile();
  const CliRun write =
      RunCli(Net() + " config write " + file + " --block common --verify --backup " +
             ::testing::TempDir() + "/no-such-folder/backup.dcf");
  EXPECT_EQ(write.status, 4) << write.err;
  EXPECT_EQ(RunCli(Net() + " config diff " + file + " --printer --block common").status, 10);
}

}  // namespace
}  // namespace vantrel
