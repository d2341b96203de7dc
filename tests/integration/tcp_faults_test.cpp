// Printers on loopback TCP that reset, stop reading, trickle or go silent: each operation ends
// with the right code, and success only when the printer took every byte.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "link/link_layer.h"
#include "ops/dispatcher.h"
#include "ops/status_control.h"
#include "support/loopback_listener.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::LoopbackListener;

// Makes the listener's close a reset, as a printer's stack does when it drops bytes its application
// never read.
void Reset(int fd) {
  const linger abort{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
}

// Reads up to `limit` bytes (all when 0) until the client ends its side.
std::string ReadUpTo(int fd, std::size_t limit = 0) {
  std::string all;
  char buffer[65536];
  while (limit == 0 || all.size() < limit) {
    const std::size_t want =
        limit == 0 ? sizeof(buffer) : std::min(sizeof(buffer), limit - all.size());
    const ssize_t n = ::recv(fd, buffer, want, 0);
    if (n <= 0) break;
    all.append(buffer, static_cast<std::size_t>(n));
  }
  return all;
}

class TcpFaultTest : public ::testing::Test {
 protected:
  TcpFaultTest() {
    waits_.net_read = 500ms;
    waits_.net_write = 500ms;
    waits_.net_close = 500ms;
    waits_.reply_extra = 500ms;
  }

  void Aim(const LoopbackListener& printer) {
    target_ = {"127.0.0.1", printer.port()};
    link_.BindLinkSettings(nullptr, nullptr, &target_);
    link_.SetWaits(waits_);
    link_.progress().SetEndDelay(0ms);
  }

  // Runs an operation against the listener and measures it.
  int Run(const LoopbackListener& printer, int op, OperationRecord record = {}) {
    Aim(printer);
    const auto start = Clock::now();
    failure_ = RunPrinterOperation(link_, op, kInterfaceEthernet, record);
    took_ = Clock::now() - start;
    return failure_.code;
  }

  void Keep(std::string bytes) {
    const std::lock_guard lock(mutex_);
    received_ += bytes;
  }
  std::string Received() {
    const std::lock_guard lock(mutex_);
    return received_;
  }
  LinkWaits waits_;
  NetworkTarget target_;
  LinkLayer link_;
  LinkFailure failure_;  // of the last Run
  Clock::duration took_{};
  std::mutex mutex_;
  std::string received_;
};

// A reset is a lost link even after every byte was acknowledged, and the message says so.
TEST_F(TcpFaultTest, PrinterThatResetsAfterAcknowledgingEveryByteFailsSayingItTookThem) {
  LoopbackListener printer([&](int fd) {
    Keep(ReadUpTo(fd, kFactoryDefaultCommand.size()));
    std::this_thread::sleep_for(100ms);  // its acknowledgement goes out before the reset
    Reset(fd);
  });
  EXPECT_EQ(Run(printer, kOpFactoryDefault), kResultTransmissionError);
  EXPECT_NE(failure_.detail.find("took every byte, then reset the connection"), std::string::npos)
      << failure_.detail;
  EXPECT_EQ(Received(), kFactoryDefaultCommand);
  EXPECT_LT(took_, 10s);
}

TEST_F(TcpFaultTest, PrinterThatReadsAPartThenResetsFailsTheSendSayingHowMuchItLacked) {
  LoopbackListener printer([&](int fd) {
    Keep(ReadUpTo(fd, 1000));
    std::this_thread::sleep_for(100ms);
    Reset(fd);
  });
  const std::vector<std::uint8_t> block(1024 * 1024, 'x');
  EXPECT_EQ(Run(printer, kOpSendRawBlock, RawBlock{block}), kResultTransmissionError);
  EXPECT_EQ(Received().size(), 1000u);
  EXPECT_NE(failure_.detail.find("before acknowledging the last "), std::string::npos)
      << failure_.detail;
  EXPECT_LT(took_, 10s);
}

TEST_F(TcpFaultTest, PrinterThatNeverReadsFailsTheSend) {
  // Longer than the write and close waits together; either of them may give up first.
  LoopbackListener printer([](int) { std::this_thread::sleep_for(3s); });
  const std::vector<std::uint8_t> block(1024 * 1024, 'x');
  EXPECT_EQ(Run(printer, kOpSendRawBlock, RawBlock{block}), kResultTransmissionError);
  EXPECT_LT(took_, 20s);
}

// A printer rebooting on the reset command reads it and then says nothing more.
TEST_F(TcpFaultTest, PrinterThatTakesEverythingAndFallsSilentSucceeds) {
  LoopbackListener printer([&](int fd) {
    Keep(ReadUpTo(fd, kResetCommand.size()));
    std::this_thread::sleep_for(2 * waits_.net_close);
  });
  EXPECT_EQ(Run(printer, kOpResetPrinter), kResultOk) << failure_.detail;
  EXPECT_EQ(Received(), kResetCommand);
  EXPECT_LT(took_, 10s);
}

TEST_F(TcpFaultTest, PrinterThatTakesEverythingAndClosesSucceedsWithoutWaiting) {
  LoopbackListener printer([&](int fd) { Keep(ReadUpTo(fd)); });
  waits_.net_close = 30s;
  const std::vector<std::uint8_t> block(300 * 1024, 'y');
  EXPECT_EQ(Run(printer, kOpSendRawBlock, RawBlock{block}), kResultOk) << failure_.detail;
  EXPECT_EQ(Received(), std::string(block.begin(), block.end()));
  EXPECT_LT(took_, 20s);
}

// A read that failed already decides the result: the close must not add its own wait.
TEST_F(TcpFaultTest, SilentPrinterCostsOneReadWaitNotAlsoTheCloseWait) {
  LoopbackListener printer([&](int fd) {
    Keep(ReadUpTo(fd, kStatusQuery.size()));
    ReadUpTo(fd);
  });
  waits_.net_close = 60s;
  StatusFlags flags;
  EXPECT_EQ(Run(printer, kOpQueryStatus, &flags), kResultReceivingError);
  EXPECT_EQ(Received(), kStatusQuery);
  EXPECT_LT(took_, 30s);
}

TEST_F(TcpFaultTest, TricklingPrinterCannotHoldAReplyOpen) {
  LoopbackListener printer([&](int fd) {
    ::send(fd, "{9|", 3, MSG_NOSIGNAL);
    while (::send(fd, "a", 1, MSG_NOSIGNAL) == 1) std::this_thread::sleep_for(100ms);
  });
  waits_.net_read = 1000ms;
  Aim(printer);
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  const auto start = Clock::now();
  ReplyBuffer reply;
  EXPECT_FALSE(link_.ReadFramedReply(reply));
  EXPECT_LT(Clock::now() - start, 20s);
  EXPECT_EQ(link_.LastFailure().os_error, ETIMEDOUT);
  EXPECT_EQ(link_.LastFailure().detail, "the reply was not complete within 1500 ms");
  link_.CloseLink();
}

// A printer that closes its side in the middle of an answer has said all it will say, as one
// that falls silent; one that resets has broken the link.
TEST_F(TcpFaultTest, CloseInTheMiddleOfAFrameEndsTheAnswerAndAResetBreaksTheLink) {
  for (const bool reset : {false, true}) {
    LoopbackListener printer([&](int fd) {
      Keep(ReadUpTo(fd, 4));
      ::send(fd, "{5|ab", 5, MSG_NOSIGNAL);
      std::this_thread::sleep_for(50ms);
      if (reset) Reset(fd);
    });
    Aim(printer);
    ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
    ReplyBuffer reply;
    EXPECT_EQ(link_.QueryFramedReply("ASK\n", reply), kResultReceivingError);
    EXPECT_EQ(link_.LastFailure().os_error, reset ? ECONNRESET : 0) << link_.LastFailure().detail;
    EXPECT_EQ(link_.AnswerMissing(kResultReceivingError), !reset);
    EXPECT_EQ(link_.ReadsBrokenOff(), reset);
    link_.CloseLink();
  }
}

}  // namespace
}  // namespace vantrel
