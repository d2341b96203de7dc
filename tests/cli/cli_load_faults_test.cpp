// files load and dump file against a simulated printer that closes its side after the file, or
// resets part way: then the command fails with a read error and the file it would have replaced
// stays as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::Slurp;

constexpr std::size_t kFileSize = 150000;

class CliLoadFaultsTest : public testing::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    sim::SimState state = printer_.state();
    state.memory.memories[0].files.emplace_back("BIG.DAT", std::string(kFileSize, 'b'));
    state.dump.text = std::string(kFileSize, 'd');
    printer_.SetState(state);
  }

  CliRun Cli(const std::string& args) const {
    return testing::RunCli("-i net --host 127.0.0.1 --port " + std::to_string(target_.port) + " " +
                           args + " --wait 300");
  }
};

// A printer that closes its side after the file has sent all of it; one that resets stopped
// part way, and the old file stays.
TEST_F(CliLoadFaultsTest, ACloseEndsTheFileAndAResetLeavesTheOldOne) {
  const std::string out = ::testing::TempDir() + "/load_fault_" + std::to_string(::getpid());
  const struct {
    const char* label;
    sim::SimFaults faults;
    int status;
  } kFaults[] = {
      {"reset mid-file", {.reset_after_sent_bytes = kFileSize / 2}, 3},
      {"reset on arrival", {.reset_after_sent_bytes = 0}, 3},
      {"close after the file", {.close_after_answer = true}, 0},
  };
  for (const char* command : {"files load BIG.DAT --out ", "dump file --out "}) {
    const char expected = command[0] == 'f' ? 'b' : 'd';
    for (const auto& fault : kFaults) {
      const std::string label = std::string(command) + fault.label;
      std::ofstream(out, std::ios::binary) << "old contents";
      server_.SetFaults(fault.faults);
      const CliRun run = Cli(command + out);
      EXPECT_EQ(run.status, fault.status) << label << ": " << run.err;
      EXPECT_TRUE(Slurp(out) == (fault.status == 0 ? std::string(kFileSize, expected)
                                                   : std::string("old contents")))
          << label;
    }
  }
}

}  // namespace
}  // namespace vantrel
