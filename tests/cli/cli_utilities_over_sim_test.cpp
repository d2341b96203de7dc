// clock, calibrate, dump and test-page from the command line against the simulated printer:
// how options become records, and what is refused before the printer is reached.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;

class CliUtilitiesTest : public testing::SimFixture {
 protected:
  CliRun Cli(const std::string& args) const {
    return testing::RunCli(args + " -i net --host 127.0.0.1 --port " +
                           std::to_string(target_.port));
  }

  bool Received(const std::string& command) const {
    const std::vector<std::string> commands = printer_.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
  }
};

TEST_F(CliUtilitiesTest, ClockSetThenReadRoundTrips) {
  ASSERT_EQ(Cli("clock set 2024-03-05T09:07:03").status, 0);
  const CliRun read = Cli("clock read --json");
  ASSERT_EQ(read.status, 0) << read.err;
  auto json = nlohmann::json::parse(read.out);
  EXPECT_GE(json["second"].get<int>(), 3);
  json.erase("second");  // it runs on
  EXPECT_EQ(json,
            nlohmann::json({{"year", 2024}, {"month", 3}, {"day", 5}, {"hour", 9}, {"minute", 7}}));
  EXPECT_EQ(Cli("clock set now").status, 0);
}

TEST_F(CliUtilitiesTest, ClockReadFailingPartWayExitsWithItsCode) {
  sim::SimFaults faults;
  faults.malformed_frames = true;
  server_.SetFaults(faults);
  const CliRun read = Cli("clock read --json");
  EXPECT_EQ(read.status, 3);
  EXPECT_EQ(read.out, "");
}

TEST_F(CliUtilitiesTest, OptionsBecomeTheRecordsFields) {
  EXPECT_EQ(Cli("calibrate --media bline --manual --reference 300 --intensity 5").status, 0);
  EXPECT_EQ(Cli("calibrate --media gap --height 30 --gap 3 --dots-per-unit 11").status, 0);
  EXPECT_EQ(Cli("test-page --width 100 --height 50 --dots-per-mm 8").status, 0);
  EXPECT_EQ(Cli("dump card LOG.TXT").status, 0);
  ReceivedAfter(4);
  EXPECT_TRUE(Received("SET GAP 5,300"));
  EXPECT_TRUE(Received("BLINE 0.08,0"));
  EXPECT_TRUE(Received("GAPDETECT 330,33"));
  EXPECT_TRUE(Received("BOX 16,16,784,384,4"));
  EXPECT_TRUE(Received("DUMP_TEXT SAVE 1000,E,\"LOG.TXT\","));
}

TEST_F(CliUtilitiesTest, DumpFileSavesWhatThePrinterDumped) {
  const std::string out = ::testing::TempDir() + "/cli_dump_" + std::to_string(::getpid());
  const CliRun run = Cli("dump file --wait 300 --out " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(testing::Slurp(out), printer_.state().dump.text);

  EXPECT_EQ(server_.ConnectionCount(), 2u);
}

TEST_F(CliUtilitiesTest, DumpFileTargetThatCannotBeWrittenSendsNothing) {
  const std::string folder = ::testing::TempDir();
  const std::string file = folder + "/cli_dump_parent_" + std::to_string(::getpid());
  std::ofstream(file) << "x";
  const struct {
    const char* label;
    std::string out;
    const char* cause;
  } cases[] = {
      {"a folder", folder, "is a folder"},
      {"parent missing", "/nonexistent/dir/dump.txt", "/nonexistent/dir"},
      {"parent is a file", file + "/dump.txt", "is not a folder"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli("dump file --out " + c.out);
    EXPECT_EQ(run.status, 4) << c.label;
    EXPECT_NE(run.err.find("File Open Error"), std::string::npos) << c.label << ": " << run.err;
    EXPECT_NE(run.err.find(c.cause), std::string::npos) << c.label << ": " << run.err;
  }
  EXPECT_EQ(server_.ConnectionCount(), 0u);
}

TEST_F(CliUtilitiesTest, RefusalsSendNothing) {
  for (const char* args :
       {"clock set yesterday", "calibrate --media gap --height -1 --gap 1",
        "calibrate --media gap --height 1e12", "calibrate --media gap --manual --reference 1000",
        "test-page --width 0 --height 50 --dots-per-mm 8",
        "test-page --width 100 --height 50 --dots-per-mm nan", "dump card 'A\"B'",
        "dump card ABCDEFGHI.TXT"}) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 6) << args;
    EXPECT_NE(run.err, "") << args;
  }
  EXPECT_EQ(server_.ConnectionCount(), 0u);
}

}  // namespace
}  // namespace vantrel
