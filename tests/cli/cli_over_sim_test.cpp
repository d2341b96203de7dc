// vantrel-cli as scripts use it: exit statuses, messages and JSON, against the simulated printer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "config/config_file.h"
#include "servers/sim_pty_server.h"
#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::Slurp;

CliRun Cli(const std::string& args) {
  return testing::RunCli(args);
}

class CliOverSimTest : public testing::SimFixture {
 protected:
  std::string Net() const {
    return "-i net --host 127.0.0.1 --port " + std::to_string(target_.port);
  }
};

TEST_F(CliOverSimTest, StatusJsonListsFlagsAndLitLabels) {
  sim::SimState state;
  state.status_byte = 0x28;
  state.detail[4] = 0x04;
  printer_.SetState(state);
  const CliRun run = Cli("status --json " + Net());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["flags"], nlohmann::json({0, 0, 0, 1, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(json["lit"], nlohmann::json({"Ribbon End Err.", "Printting"}));
  EXPECT_EQ(json.size(), 2u);
}

TEST_F(CliOverSimTest, ControlCommandsAndSendReachThePrinter) {
  const std::string file = ::testing::TempDir() + "/label.bin";
  std::ofstream(file, std::ios::binary) << std::string("SIZE 4,2\r\n\0\xff", 12);
  EXPECT_EQ(Cli(Net() + " factory-default").status, 0);
  EXPECT_EQ(Cli("config-page " + Net()).status, 0);
  EXPECT_EQ(Cli("reset " + Net()).status, 0);
  EXPECT_EQ(Cli("ignore-autobas " + Net()).status, 0);
  EXPECT_EQ(Cli("send " + file + " " + Net()).status, 0);
  EXPECT_EQ(Cli("probe " + Net()).status, 0);
  EXPECT_EQ(ReceivedAfter(6),
            "INITIALPRINTER\r\nSELFTEST\r\n\x1b!R\x1b!CSIZE 4,2\r\n" + std::string("\0\xff", 2));
}

TEST_F(CliOverSimTest, FailuresGiveTheirStatusMessageAndCause) {
  // Larger than one send can carry, without taking the room: a file with a hole.
  const std::string huge = ::testing::TempDir() + "/huge.bin";
  std::ofstream(huge).close();
  ASSERT_EQ(::truncate(huge.c_str(), 5LL << 30), 0);
  const std::pair<std::string, std::string> unreadable[] = {
      {"send /nonexistent/file", "</dev/null"},
      {"send " + ::testing::TempDir(), "</dev/null"},
      {"send -", "<&-"},
      {"send " + huge, "</dev/null"},
  };
  for (const auto& [args, input] : unreadable) {
    const CliRun run = testing::RunCli(args + " " + Net(), input);
    EXPECT_EQ(run.status, 4) << args << ": " << run.err;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "File Open Error") << args;
  }
  std::filesystem::remove(huge);
  EXPECT_EQ(server_.ConnectionCount(), 0u);

  sim::SimFaults faults;
  faults.refuse_connections = true;
  server_.SetFaults(faults);
  const CliRun refused = Cli("status " + Net());
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.substr(0, refused.err.find('\n')), "Port Open Error");
  EXPECT_NE(refused.err.find("refused"), std::string::npos);
  EXPECT_TRUE(refused.out.empty());
}

TEST_F(CliOverSimTest, UsageErrorsAndRefusals) {
  EXPECT_EQ(Cli("").status, 64);
  EXPECT_EQ(Cli("frobnicate").status, 64);
  EXPECT_EQ(Cli("status --bogus").status, 64);
  EXPECT_EQ(Cli("send").status, 64);
  EXPECT_EQ(Cli("config read --out '' " + Net()).status, 64);
  EXPECT_EQ(Cli("-i serial status").status, 64);
  EXPECT_EQ(Cli("status -i net --host " + std::string(64, 'a')).status, 6);
  const CliRun help = Cli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("status"), std::string::npos);
}

TEST_F(CliOverSimTest, ConfigReadSavesAFileThatShowsAndWritesBack) {
  const std::string file = ::testing::TempDir() + "/read_" + std::to_string(::getpid()) + ".dcf";
  const CliRun read = Cli("config read --json --unit mm --out " + file + " " + Net());
  ASSERT_EQ(read.status, 0) << read.err;
  const auto printer = nlohmann::json::parse(read.out);
  EXPECT_EQ(printer["Dpi"], 203.0);
  EXPECT_EQ(printer["DotsPerMm"], 8.0);
  EXPECT_TRUE(printer.contains("RowOffsetD"));
  EXPECT_FALSE(printer.contains("unit"));

  const CliRun shown = Cli("config show --json " + file);
  ASSERT_EQ(shown.status, 0) << shown.err;
  auto from_file = nlohmann::json::parse(shown.out);
  EXPECT_EQ(from_file["unit"], "mm");
  EXPECT_EQ(from_file["status"], nlohmann::json(std::vector<int>(10, 0)));
  from_file.erase("unit");
  from_file.erase("status");
  EXPECT_EQ(from_file, printer);

  server_.ClearReceived();
  const std::size_t before = server_.ConnectionCount();
  ASSERT_EQ(Cli("config write " + file + " --block z " + Net()).status, 0);
  ASSERT_TRUE(server_.WaitForConnectionsClosed(before + 1, std::chrono::seconds(10)));
  const auto sent = server_.Received();
  EXPECT_NE(std::string(sent.begin(), sent.end()).find("\036XA"), std::string::npos);
  EXPECT_EQ(std::string(sent.begin(), sent.end()).find("SPEED "), std::string::npos);
}

TEST_F(CliOverSimTest, BadConfigFilesAreRefusedBeforeAnythingIsSent) {
  const std::string file = ::testing::TempDir() + "/bad_" + std::to_string(::getpid()) + ".dcf";
  std::ofstream(file, std::ios::binary) << std::string(700, 'x');
  const CliRun wrong_magic = Cli("config write " + file + " --block common " + Net());
  EXPECT_EQ(wrong_magic.status, 6);
  EXPECT_EQ(wrong_magic.err.substr(0, wrong_magic.err.find('\n')), "File Data Error");
  EXPECT_EQ(Cli("config write /nonexistent.dcf --block d " + Net()).status, 4);
  EXPECT_EQ(Cli("config write " + file + " " + Net()).status, 64);
  EXPECT_EQ(Cli("config write " + file + " --block x " + Net()).status, 64);
  EXPECT_EQ(Cli("config show " + file).status, 6);
  EXPECT_EQ(server_.ConnectionCount(), 0u);
}

// Values a printer should not give are shown as they are, with no overflow; the file saved
// from them holds values outside their ranges, which every command that loads it refuses,
// naming the item, before anything is sent.
TEST_F(CliOverSimTest, ExtremeReportedValuesShowSafelyAndTheirFileIsRefused) {
  sim::SimState state;
  state.config.reports["SENSORMODE"] = "2147483647";
  state.config.reports["ZLABELWIDTH"] = "-2147483648";
  printer_.SetState(state);
  const std::string file = testing::TestFile("extreme.dcf");
  const CliRun read = Cli("config read --out " + file + " " + Net());
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_NE(read.out.find("(2147483647)"), std::string::npos) << read.out;
  EXPECT_NE(read.out.find("-2147483648 dots"), std::string::npos) << read.out;

  const std::size_t connections = server_.ConnectionCount();
  for (const std::string& command :
       {"config show " + file, "config show --json " + file, "config diff " + file + " " + file,
        "config write " + file + " --block d " + Net()}) {
    const CliRun run = Cli(command);
    EXPECT_EQ(run.status, 6) << command;
    EXPECT_EQ(run.err, "File Data Error\n" + file + ": MediaSensor 2147483647 is outside 0..2\n")
        << command;
  }
  EXPECT_EQ(server_.ConnectionCount(), connections);
  std::filesystem::remove(file);
}

// The unit as the app reads the index, status bytes as flags and a high byte escaped.
TEST(CliConfigShowTest, StoredBytesShowAsTheAppReadsThem) {
  ConfigFileContents contents;
  ResetConfig(contents.config);
  contents.config.Edition = kFirstEmulationEdition;
  contents.unit = 7;
  contents.status.flags[2] = 0xFF;
  contents.config.ControlPrefixZ.Set('\xb5');
  contents.config.PrintWidthZ.Set(812);
  const std::string file = testing::TestFile("stored.dcf");
  ASSERT_TRUE(SaveConfigFile(file, contents).ok());

  const CliRun text = Cli("config show " + file);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("\\xB5"), std::string::npos);
  EXPECT_NE(text.out.find(" in (812 dots)"), std::string::npos) << "lengths in inches";

  const CliRun json = Cli("config show --json " + file);
  ASSERT_EQ(json.status, 0) << json.err;
  const auto document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["unit"], "inch");
  EXPECT_EQ(document["status"], nlohmann::json({0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  std::filesystem::remove(file);
}

TEST(CliOverSerialTest, StatusOverAPseudoTerminal) {
  sim::SimPrinter printer;
  sim::SimState state;
  state.status_byte = 0x10;
  printer.SetState(state);
  sim::SimPtyServer pty(printer);
  const auto started = pty.Start();
  ASSERT_TRUE(started.ok()) << started.detail;
  const CliRun run = Cli("status --json -i com --com " + pty.slave_path() + " --baud 115200");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["lit"], nlohmann::json({"Pause"}));
}

TEST(CliOverParallelTest, WritesGoToTheDeviceAndReadsAreRefusedUnopened) {
  const std::string device = ::testing::TempDir() + "/lpt_device_" + std::to_string(::getpid());
  std::ofstream(device).close();
  EXPECT_EQ(Cli("reset -i lpt --lpt " + device).status, 0);
  EXPECT_EQ(Slurp(device), "\x1b!R");
  const std::string absent = ::testing::TempDir() + "/no_lpt_device";
  const CliRun status = Cli("status -i lpt --lpt " + absent);
  EXPECT_EQ(status.status, 3);
  EXPECT_EQ(status.err, "Data Receiving Error\n");
}

}  // namespace
}  // namespace vantrel
