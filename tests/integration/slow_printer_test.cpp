// A printer that trickles its answers, each within its own reply bound: every operation that
// reads several replies, and a file read back, still ends with a read error once its whole read
// bound passes instead of lasting as long as the trickle. A printer that reads slowly still gets
// a large block.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ops/dispatcher.h"
#include "support/loopback_listener.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;

class SlowPrinterTest : public testing::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    LinkWaits waits = link_.waits();
    waits.operation_read = 300ms;
    waits.load_total = 400ms;
    link_.SetWaits(waits);
    sim::SimState state = printer_.state();
    state.memory.memories[0].files.emplace_back("SLOW.DAT", std::string(1000, 's'));
    printer_.SetState(state);
    // About 15 bytes within either bound; every read below needs far more.
    server_.SetFaults({.byte_delay = 20ms});
    load_.printer_name = "SLOW.DAT";
    load_.settle_pause = load_.command_pause = 0ms;
  }

  PrinterConfig config_;
  MemoryInfo memory_;
  NetSettings net_;
  ClockSettings clock_;
  LoadRequest load_;
};

TEST_F(SlowPrinterTest, ReadsFailOnceTheirWholeBoundPasses) {
  const struct {
    const char* label;
    int op;
    OperationRecord record;
    const char* bound;
  } kReads[] = {
      {"configuration", kOpReadConfiguration, &config_, "the operation's read bound of 300 ms"},
      {"file list", kOpReadFileList, &memory_, "the operation's read bound of 300 ms"},
      {"network settings", kOpReadNetworkSettings, &net_, "the operation's read bound of 300 ms"},
      {"clock", kOpReadClock, &clock_, "the operation's read bound of 300 ms"},
      {"file load", kOpLoadFile, &load_, "the file load's bound of 400 ms"},
  };
  for (const auto& read : kReads) {
    const auto start = std::chrono::steady_clock::now();
    const LinkFailure failure =
        RunPrinterOperation(link_, read.op, kInterfaceEthernet, read.record);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << read.label;
    EXPECT_EQ(failure.code, kResultReceivingError) << read.label;
    EXPECT_EQ(failure.detail,
              std::string("the printer answered too slowly: ") + read.bound + " passed")
        << read.label;
  }
}

// A printer that takes a large block slowly, in bursts with pauses, gets every byte, and the
// send succeeds however long the last bytes take to be acknowledged, as long as no pause is a
// stall.
TEST(SlowReadingPrinterTest, LargeSendSucceedsWhileThePrinterKeepsTakingBytes) {
  std::atomic<std::size_t> taken{0};
  testing::LoopbackListener printer([&](int fd) {
    std::array<char, 16 * 1024> buffer;
    for (;;) {
      const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
      if (n <= 0) return;
      // One pause longer than the close's own wait, as a printer busy printing makes.
      std::this_thread::sleep_for(taken == 0 ? 600ms : 40ms);
      taken += static_cast<std::size_t>(n);
    }
  });
  NetworkTarget target{"127.0.0.1", printer.port()};
  LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &target);
  LinkWaits waits;
  waits.net_close = 200ms;  // less than the last bytes take and than the long pause
  waits.net_write = 1s;
  link.SetWaits(waits);
  link.progress().SetEndDelay(0ms);
  const std::vector<std::uint8_t> block(512 * 1024, 'z');
  const LinkFailure failure =
      RunPrinterOperation(link, kOpSendRawBlock, kInterfaceEthernet, RawBlock{block});
  EXPECT_EQ(failure.code, kResultOk) << failure.detail;
  EXPECT_EQ(taken, block.size());
}

}  // namespace
}  // namespace vantrel
