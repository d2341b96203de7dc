// vantrel-cli commands that read a host file: what cannot be read as a file ends in 4 at once,
// with its cause, and the printer hears nothing. The FIFO rows block for ever if a reader waits
// on one; the test's short time-out catches that.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_runner.h"
#include "support/sim_fixture.h"
#include "support/unreadable_paths.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::RunCli;

class CliHostFilesTest : public testing::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    folder_ = fs::path(::testing::TempDir()) / ("cli_host_files_" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  CliRun Run(const std::string& args) const {
    return RunCli("-i net --host 127.0.0.1 --port " + std::to_string(target_.port) + " " + args);
  }

  fs::path folder_;
};

TEST_F(CliHostFilesTest, WhatIsNoReadableFileIsFileOpenErrorAndNothingIsSent) {
  const std::string out = (folder_ / "out.bmf").string();
  // Each command with %s where the file goes.
  const std::pair<const char*, std::string> commands[] = {
      {"font show", "font show %s"},
      {"font make --table",
       "font make --font 'DejaVu Sans' --size 9 --encode table --table %s --out " + out},
      {"send", "send %s"},
      {"files download", "files download %s --type data --name X.DAT"},
      {"files download raw", "files download %s --type firmware"},
      {"config show", "config show %s"},
      {"config write", "config write %s --block common"},
  };
  for (const auto& [command, pattern] : commands) {
    for (const auto& [kind, path] : testing::UnreadablePaths(folder_)) {
      std::string args = pattern;
      args.replace(args.find("%s"), 2, path);
      const CliRun run = Run(args);
      const std::string label = std::string(command) + " on a " + kind;
      EXPECT_EQ(run.status, 4) << label << ": " << run.err;
      EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "File Open Error") << label;
      // The cause, naming the file, on the second line.
      const std::string cause = run.err.substr(run.err.find('\n') + 1);
      EXPECT_NE(cause.substr(0, cause.find('\n')).find(path), std::string::npos) << label;
    }
  }
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(server_.ConnectionCount(), 0U);
}

}  // namespace
}  // namespace vantrel
