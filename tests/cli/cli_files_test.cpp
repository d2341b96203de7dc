// vantrel-cli files: list, format, download with its checks, and load, against the simulator.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "engine/sim_profile.h"
#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::Slurp;

class CliFilesTest : public testing::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    printer_.SetState(sim::ParseSimProfile(R"({"memory": {
        "dram": {"physical": 64, "free": 1, "files": {"OLD.DAT": "old"}},
        "flash": {"physical": 1024}}})"));
  }

  CliRun Files(const std::string& args) const {
    return RunCli("-i net --host 127.0.0.1 --port " + std::to_string(target_.port) + " files " +
                  args);
  }

  std::string HostFile(const std::string& name, const std::string& bytes) const {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  const std::vector<std::pair<std::string, std::string>>& FilesIn(int memory) {
    state_ = printer_.state();
    return state_.memory.memories[static_cast<std::size_t>(memory)].files;
  }

  sim::SimState state_;
};

TEST_F(CliFilesTest, DownloadCheckedAndVerifiedThenListedAsJson) {
  const std::string path = HostFile("mylogofile.bmp", std::string("BM\0\r\n", 5));
  const CliRun download = Files("download " + path + " --type bmp --check-space --verify");
  ASSERT_EQ(download.status, 0) << download.err;
  ASSERT_EQ(FilesIn(1).size(), 1u);
  EXPECT_EQ(FilesIn(1)[0], (std::pair<std::string, std::string>{"mylogofi.BMP", {"BM\0\r\n", 5}}));

  const CliRun list = Files("list --json");
  ASSERT_EQ(list.status, 0) << list.err;
  const auto json = nlohmann::json::parse(list.out);
  EXPECT_EQ(json["FLASH"], nlohmann::json::parse(
                               R"({"physical": 1024, "free": 1023, "files": ["mylogofi.BMP"]})"));
  EXPECT_EQ(json["DRAM"]["files"], nlohmann::json({"OLD.DAT"}));
  EXPECT_EQ(json["CARD"]["free"], nullptr);
  EXPECT_EQ(json.size(), 3u);
}

// Names come from the printer: a terminal escape, a carriage return that would overwrite the
// row, or a NUL reaches the terminal only as escaped text.
TEST_F(CliFilesTest, ListShowsPrinterNamesEscaped) {
  printer_.SetState(sim::ParseSimProfile(R"({"memory": {"dram": {"physical": 64, "files": {
      "A\u001b[2JB": "1", "C\rFAKE.BAS": "2", "E\u0000F": "3"}}}})"));
  const CliRun list = Files("list");
  ASSERT_EQ(list.status, 0) << list.err;
  for (const char* row : {"  A\\x1B[2JB\n", "  C\\x0DFAKE.BAS\n", "  E\\x00F\n"}) {
    EXPECT_NE(list.out.find(row), std::string::npos) << row << " in " << list.out;
  }
  EXPECT_EQ(list.out.find_first_of(std::string("\x1b\r\0", 3)), std::string::npos);
}

TEST_F(CliFilesTest, ChecksRefuseOrFailAndRefusedNamesSendNothing) {
  const std::string path = HostFile("big.dat", std::string(2048, 'x'));
  // Two kilobytes do not fit the one free in DRAM: refused after the list, nothing downloaded.
  const CliRun refused = Files("download " + path + " --memory dram --check-space");
  EXPECT_EQ(refused.status, 6);
  EXPECT_NE(refused.err.find("needs 2 KB; DRAM has 1 KB free"), std::string::npos) << refused.err;
  // Without the check the printer swallows it, and the verifying list does not show it.
  const CliRun unverified = Files("download " + path + " --memory dram --verify");
  EXPECT_EQ(unverified.status, 3);
  EXPECT_NE(unverified.err.find("big is not listed in DRAM"), std::string::npos);
  const std::size_t connections = server_.ConnectionCount();

  for (const std::string& name :
       std::vector<std::string>{"'A\"B'", "'A\tB'", std::string(32, 'N')}) {
    EXPECT_EQ(Files("download " + path + " --name " + name).status, 6) << name;
  }
  EXPECT_EQ(Files("download /nonexistent/file").status, 4);
  EXPECT_EQ(Files("load 'A\"B' --out " + ::testing::TempDir() + "/x").status, 6);
  EXPECT_EQ(Files("load SIXTEEN_CHARS.TX --out " + ::testing::TempDir() + "/x").status, 6);
  EXPECT_EQ(Files("format rom").status, 64);
  EXPECT_EQ(server_.ConnectionCount(), connections);
}

TEST_F(CliFilesTest, RawTypesGoUnchangedAndFormatErases) {
  const std::string firmware = HostFile("fw.new", "DOWNLOAD \"X\",1,Y\r\nFW");
  ASSERT_EQ(Files("download " + firmware + " --type firmware --name ignored").status, 0);
  EXPECT_EQ(ReceivedAfter(1), "DOWNLOAD \"X\",1,Y\r\nFW");
  ASSERT_EQ(Files("format dram").status, 0);
  EXPECT_TRUE(FilesIn(0).empty());
}

TEST_F(CliFilesTest, LoadSavesWhatArrivedAndSaysHowMuch) {
  const std::string out = ::testing::TempDir() + "/loaded.dat";
  const CliRun loaded = Files("load OLD.DAT --out " + out + " --wait 300");
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_EQ(Slurp(out), "old");
  EXPECT_EQ(loaded.out, "3 bytes received into " + out + "\n");
  EXPECT_EQ(loaded.err, "");

  const CliRun cut = Files("load OLD.DAT --out " + out + " --wait 300 --max 2");
  EXPECT_EQ(cut.status, 0);
  EXPECT_EQ(Slurp(out), "ol");
  EXPECT_EQ(cut.err, "The load stopped at --max 2 bytes: " + out + " may be cut\n");
  const CliRun nothing = Files("load NONE --out " + out + " --wait 300");
  ASSERT_EQ(nothing.status, 0);
  EXPECT_EQ(Slurp(out), "");

  const CliRun unwritable = Files("load OLD.DAT --out /nonexistent/dir/x --wait 300");
  EXPECT_EQ(unwritable.status, 4);
}

}  // namespace
}  // namespace vantrel
