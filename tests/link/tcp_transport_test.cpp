#include "link/tcp_transport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "common/socket_wait.h"
#include "link/link_layer.h"
#include "support/loopback_listener.h"
#include "support/unanswered_connects.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackListener;

// Short reads for the silence tests; writes keep a long wait so a loaded machine passes.
LinkWaits ShortWaits() {
  LinkWaits waits;
  waits.net_read = 300ms;
  waits.net_write = 10s;
  waits.net_connect = 5s;
  waits.net_close = 10s;
  return waits;
}

std::string ReadAll(int fd) {
  std::string all;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
    if (n <= 0) return all;
    all.append(buffer, static_cast<std::size_t>(n));
  }
}

// A pseudo-random block, so a lost, repeated or reordered byte shows.
std::vector<std::uint8_t> PatternBlock(std::size_t size) {
  std::vector<std::uint8_t> block(size);
  std::uint32_t state = 12345;
  for (auto& byte : block) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(state >> 16);
  }
  return block;
}

// A printer that accepts the connection, then neither reads nor answers until it goes.
class SilentPeer {
 public:
  SilentPeer()
      : listener_([this](int) {
          while (!done_) std::this_thread::sleep_for(10ms);
        }) {}
  ~SilentPeer() { done_ = true; }
  std::uint16_t port() const { return listener_.port(); }

 private:
  std::atomic<bool> done_{false};
  LoopbackListener listener_;
};

class TcpLinkTest : public ::testing::Test {
 protected:
  void Aim(std::string address, int port) {
    target_.address = std::move(address);
    target_.port = port;
    link_.BindLinkSettings(nullptr, nullptr, &target_);
    link_.SetWaits(ShortWaits());
  }

  NetworkTarget target_;
  LinkLayer link_;
};

TEST_F(TcpLinkTest, EmptyAddressAndRefusedPortDoNotOpen) {
  Aim("", 9100);
  EXPECT_FALSE(link_.OpenLink(kInterfaceEthernet));
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().detail, "no printer address is set");

  std::uint16_t closed_port = 0;
  {
    LoopbackListener gone([](int) {});
    closed_port = gone.port();
  }
  Aim("127.0.0.1", closed_port);
  EXPECT_FALSE(link_.OpenLink(kInterfaceEthernet));
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().os_error, ECONNREFUSED);
}

TEST_F(TcpLinkTest, NameIsResolvedBeforeConnecting) {
  LoopbackListener peer([](int fd) { ::send(fd, "{2|OK}", 6, MSG_NOSIGNAL); });
  Aim("localhost", peer.port());
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  ReplyBuffer reply;
  ASSERT_TRUE(link_.ReadFramedReply(reply));
  EXPECT_EQ(reply.view(), "OK");
  link_.CloseLink();
}

TEST_F(TcpLinkTest, LargeBlockArrivesExactlyOnce) {
  const auto block = PatternBlock(3 * 1024 * 1024 + 17);
  std::string received;
  {
    LoopbackListener peer([&](int fd) { received = ReadAll(fd); });
    Aim("127.0.0.1", peer.port());
    ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
    ASSERT_TRUE(link_.WriteLink(block));
    link_.CloseLink();
  }
  ASSERT_EQ(received.size(), block.size());
  EXPECT_EQ(0, std::memcmp(received.data(), block.data(), block.size()));
}

// Commands written while held stay in the sending socket until released, then arrive whole and
// in order. Over loopback an unheld send is readable at once.
TEST_F(TcpLinkTest, HeldCommandsLeaveTogetherWhenReleased) {
  std::promise<void> written;
  std::promise<bool> arrived_early;
  std::string received;
  {
    LoopbackListener peer([&](int fd) {
      written.get_future().wait();
      pollfd entry{fd, POLLIN, 0};
      arrived_early.set_value(::poll(&entry, 1, 0) > 0);
      received = ReadAll(fd);
    });
    Aim("127.0.0.1", peer.port());
    ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
    {
      const HeldWrites held(link_);
      EXPECT_EQ(link_.SendCommandText("SPEED 4.0\r\n"), kResultOk);
      EXPECT_EQ(link_.SendCommandText("DENSITY 8\r\n"), kResultOk);
      written.set_value();
      EXPECT_FALSE(arrived_early.get_future().get());
    }
    link_.CloseLink();
  }
  EXPECT_EQ(received, "SPEED 4.0\r\nDENSITY 8\r\n");
}

// A printer that answers part of a raw block (a status escape inside it) leaves bytes unread when
// the link closes; the rest of the block must still arrive whole.
TEST_F(TcpLinkTest, UnreadAnswerDoesNotCutTheEndOfABlock) {
  auto block = PatternBlock(16 * 1024 * 1024);
  block[0] = 0x1b;
  block[1] = '!';
  block[2] = '?';
  std::size_t received = 0;
  {
    LoopbackListener peer([&](int fd) {
      char buffer[65536];
      received = static_cast<std::size_t>(std::max<ssize_t>(0, ::recv(fd, buffer, 3, MSG_WAITALL)));
      ::send(fd, "@", 1, MSG_NOSIGNAL);
      std::this_thread::sleep_for(300ms);  // a slow printer: the link is closed meanwhile
      for (ssize_t n = 0; (n = ::recv(fd, buffer, sizeof(buffer), 0)) > 0;) {
        received += static_cast<std::size_t>(n);
        std::this_thread::sleep_for(1ms);
      }
    });
    Aim("127.0.0.1", peer.port());
    ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
    ASSERT_TRUE(link_.WriteLink(block));
    link_.CloseLink();
  }
  EXPECT_EQ(received, block.size());
}

TEST_F(TcpLinkTest, PeerClosingMidTransferFailsAtOnce) {
  const auto block = PatternBlock(64 * 1024 * 1024);
  LoopbackListener peer([](int fd) {
    char buffer[4096];
    ::recv(fd, buffer, sizeof(buffer), 0);
    // Closing with unread data makes the kernel reset the connection.
  });
  Aim("127.0.0.1", peer.port());
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(link_.WriteLink(block));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
  EXPECT_EQ(link_.LastFailure().code, kResultTransmissionError);
  EXPECT_TRUE(link_.LastFailure().os_error == ECONNRESET || link_.LastFailure().os_error == EPIPE)
      << link_.LastFailure().detail;
}

TEST_F(TcpLinkTest, PeerThatStopsReadingFailsAfterTheBoundedRetries) {
  const auto block = PatternBlock(32 * 1024 * 1024);
  SilentPeer peer;
  Aim("127.0.0.1", peer.port());
  LinkWaits waits = ShortWaits();
  waits.net_write = 300ms;
  link_.SetWaits(waits);
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  EXPECT_FALSE(link_.WriteLink(block));
  EXPECT_EQ(link_.LastFailure().os_error, ETIMEDOUT);
  EXPECT_EQ(link_.LastFailure().detail,
            "the printer at 127.0.0.1:" + std::to_string(peer.port()) + " took no data for 900 ms");
}

TEST_F(TcpLinkTest, SilentPeerFailsTheReadAfterTheWait) {
  SilentPeer peer;
  Aim("127.0.0.1", peer.port());
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
}

// The window's Cancel comes from another thread while the read waits for a silent printer.
TEST_F(TcpLinkTest, CancelFromAnotherThreadEndsABlockedReadAtOnce) {
  SilentPeer peer;
  Aim("127.0.0.1", peer.port());
  LinkWaits waits = ShortWaits();
  waits.net_read = 600s;
  link_.SetWaits(waits);
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  std::thread canceller([&] {
    std::this_thread::sleep_for(100ms);
    link_.Cancel();
  });
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
  canceller.join();
  EXPECT_EQ(link_.LastFailure().code, kResultReceivingError);
  EXPECT_EQ(link_.LastFailure().os_error, ECANCELED);
  // Nothing more goes out, and the operation cannot take the silence for a question passed over.
  EXPECT_FALSE(link_.AnswerMissing(kResultReceivingError));
  EXPECT_FALSE(link_.WriteLink(std::string_view("\x1b!?")));
  EXPECT_EQ(link_.LastFailure().os_error, ECANCELED);
  link_.CloseLink();
}

// A cancel also ends a connection attempt to a printer that does not answer it.
TEST_F(TcpLinkTest, CancelEndsAConnectionAttemptInProgress) {
  testing::UnansweredConnects peer;
  Aim("127.0.0.1", peer.port());
  LinkWaits waits = ShortWaits();
  waits.net_connect = 60s;
  link_.SetWaits(waits);
  std::thread canceller([&] {
    for (int i = 0; i < 1000 && !peer.AttemptWaiting(); ++i) std::this_thread::sleep_for(10ms);
    link_.Cancel();
  });
  EXPECT_FALSE(link_.OpenLink(kInterfaceEthernet));
  canceller.join();
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().os_error, ECANCELED) << link_.LastFailure().detail;
}

// Short waits sleep in poll(); a remaining time rounded down to 0 ms would spin instead.
TEST(SocketWaitTest, ShortWaitsDoNotSpin) {
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  const auto cpu = [] {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  };
  const auto cpu_start = cpu();
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(WaitForDescriptor(pair[0], POLLIN, 1ms), WaitResult::kTimedOut);
  }
  const auto used = cpu() - cpu_start;
  // Sleeping, 200 waits cost a few milliseconds of processor time; spinning, about 200 ms.
  EXPECT_LT(used, 100ms);
  ::close(pair[0]);
  ::close(pair[1]);
}

// The one test that proves the real wait: a printer gets the full 30 seconds to answer.
TEST(TcpRealWaitTest, DefaultReadWaitIsThirtySecondsNotLess) {
  std::atomic<bool> done{false};
  LoopbackListener peer([&](int) {
    while (!done) std::this_thread::sleep_for(10ms);
  });
  NetworkTarget target{"127.0.0.1", peer.port()};
  LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &target);
  EXPECT_EQ(link.waits().net_read, 30000ms);
  ASSERT_TRUE(link.OpenLink(kInterfaceEthernet));
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link.ReadReplyByte(byte));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 30000ms);
  EXPECT_LT(waited, 40000ms);
  done = true;
}

}  // namespace
}  // namespace vantrel
