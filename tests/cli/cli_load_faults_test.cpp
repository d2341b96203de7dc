// files load and dump file against a simulated printer that resets or hangs up part way: the
// command fails with a read error and the file it would have replaced stays as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <optional>

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

TEST_F(CliLoadFaultsTest, APrinterThatStopsPartWayLeavesTheOldFile) {
  const std::string out = ::testing::TempDir() + "/load_fault_" + std::to_string(::getpid());
  const struct {
    const char* label;
    std::optional<std::size_t> reset_after;
    bool hang_up;
  } kFaults[] = {
      {"reset mid-file", kFileSize / 2, false},
      {"reset on arrival", 0, false},
      {"hang-up", std::nullopt, true},
  };
  for (const char* command : {"files load BIG.DAT --out ", "dump file --out "}) {
    for (const auto& fault : kFaults) {
      const std::string label = std::string(command) + fault.label;
      std::ofstream(out, std::ios::binary) << "old contents";
      sim::SimFaults faults;
      faults.reset_after_sent_bytes = fault.reset_after;
      faults.close_after_answer = fault.hang_up;
      server_.SetFaults(faults);
      const CliRun run = Cli(command + out);
      EXPECT_EQ(run.status, 3) << label << ": " << run.err;
      EXPECT_TRUE(Slurp(out) == "old contents") << label;
    }
  }
}

}  // namespace
}  // namespace vantrel
