#include "servers/sim_tcp_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <string>

#include "sim/sim_test_client.h"

namespace vantrel::sim {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using testing::TestClient;

const std::string kDetailAnswer = "\x01\x02\x03\x04\x05\x06\x07\x08";

class SimTcpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimState state;
    state.status_byte = 0x42;
    state.detail = {1, 2, 3, 4, 5, 6, 7, 8};
    printer_.SetState(state);
    const auto started = server_.Start("127.0.0.1", 0);
    ASSERT_TRUE(started.ok()) << started.detail;
  }

  // Long enough to show that nothing is coming, short enough to keep the suite fast.
  static constexpr auto kQuiet = 200ms;

  SimPrinter printer_;
  SimTcpServer server_{printer_};
};

TEST_F(SimTcpServerTest, AnswersOverTcp) {
  TestClient client(server_.port());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.Send("\r\n\x1b!?"));
  EXPECT_EQ(client.Read(1), "\x42");
  ASSERT_TRUE(client.Send("\x1b!S\r\nDIAGNOSTIC INTERFACE NET\r\n"));
  EXPECT_EQ(client.Read(15), kDetailAnswer + "{3|NET}");
  EXPECT_TRUE(client.Finish());
  EXPECT_TRUE(server_.WaitForConnectionsClosed(1, 5s));
  EXPECT_EQ(server_.ConnectionCount(), 1u);
}

TEST_F(SimTcpServerTest, RecordsBulkDataExactly) {
  std::string data(64 * 1024 * 1024, '\0');
  std::uint32_t seed = 7;
  for (char& c : data) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send(data));
  EXPECT_TRUE(client.Finish());
  ASSERT_TRUE(server_.WaitForConnectionsClosed(1, 60s));
  const auto received = server_.Received();
  ASSERT_EQ(received.size(), data.size());
  EXPECT_TRUE(std::equal(received.begin(), received.end(), data.begin(), data.end(),
                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
  server_.ClearReceived();
  EXPECT_TRUE(server_.Received().empty());
}

TEST_F(SimTcpServerTest, EachConnectionStartsWithAFreshParser) {
  TestClient first(server_.port());
  ASSERT_TRUE(first.Send("\x1b!"));
  EXPECT_TRUE(first.Finish());
  TestClient second(server_.port());
  ASSERT_TRUE(second.Send("?\n\x1b!?"));
  EXPECT_EQ(second.Read(2, kQuiet), "\x42");
  EXPECT_TRUE(second.Finish());
  EXPECT_TRUE(server_.WaitForConnectionsClosed(2, 5s));
  EXPECT_THAT(printer_.Commands(), Contains("?"));
}

TEST_F(SimTcpServerTest, ServesOneConnectionAtATime) {
  TestClient first(server_.port());
  ASSERT_TRUE(first.Send("\x1b!?"));
  ASSERT_EQ(first.Read(1), "\x42");
  TestClient second(server_.port());  // completes in the backlog, but is not served
  ASSERT_TRUE(second.Send("\x1b!?"));
  EXPECT_EQ(second.Read(1, kQuiet), "");
  EXPECT_TRUE(first.Finish());
  EXPECT_EQ(second.Read(1), "\x42");
  EXPECT_EQ(server_.ConnectionCount(), 2u);
}

TEST_F(SimTcpServerTest, NeverAnswerRecordsButSendsNothing) {
  server_.SetFaults({.never_answer = true});
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send("\x1b!?DIAGNOSTIC INTERFACE NET\n"));
  ASSERT_TRUE(server_.WaitForReceived(28, 5s));
  EXPECT_EQ(client.Read(1, kQuiet), "");
  EXPECT_THAT(printer_.Commands(), Contains("DIAGNOSTIC INTERFACE NET"));
}

TEST_F(SimTcpServerTest, CloseAfterBytesKeepsExactlyThoseBytes) {
  server_.SetFaults({.close_after_bytes = 10});
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send("\x1b!?0123456789ABCDEF"));
  EXPECT_TRUE(client.WaitClosed());
  ASSERT_TRUE(server_.WaitForConnectionsClosed(1, 5s));
  const auto received = server_.Received();
  EXPECT_EQ(std::string(received.begin(), received.end()), "\x1b!?0123456");
}

TEST_F(SimTcpServerTest, MalformedFramesDeclareAWrongLength) {
  server_.SetFaults({.malformed_frames = true});
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send("DIAGNOSTIC INTERFACE NET\n\x1b!?"));
  EXPECT_EQ(client.Read(8), "{2|NET}\x42");
}

TEST_F(SimTcpServerTest, ByteDelaySendsOneByteAtATime) {
  server_.SetFaults({.byte_delay = 30ms});
  TestClient client(server_.port());
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.Send("\x1b!S\r\n"));
  EXPECT_EQ(client.Read(1), "\x01");
  EXPECT_EQ(client.Read(7), kDetailAnswer.substr(1));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 7 * 30ms);
}

// Also an answer due after an earlier one went out waits the whole delay again.
TEST_F(SimTcpServerTest, ReplyDelayHoldsBackEachAnswer) {
  struct Case {
    std::chrono::milliseconds byte_delay;
    std::string question;
    std::string answer;
    std::chrono::milliseconds at_least;
  };
  const Case cases[] = {
      {0ms, "\x1b!?", "\x42", 150ms},
      {20ms, "\x1b!S\r\n", kDetailAnswer, 150ms + 7 * 20ms},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    server_.SetFaults({.byte_delay = c.byte_delay, .reply_delay = 150ms});
    TestClient client(server_.port());
    for (int round = 0; round < 2; ++round) {
      const auto start = std::chrono::steady_clock::now();
      ASSERT_TRUE(client.Send(c.question));
      EXPECT_EQ(client.Read(c.answer.size()), c.answer);
      EXPECT_GE(std::chrono::steady_clock::now() - start, c.at_least);
    }
    EXPECT_TRUE(client.Finish());
  }
}

TEST_F(SimTcpServerTest, IgnoreDetailQueryStillAnswersTheStatusByte) {
  server_.SetFaults({.ignore_detail_query = true});
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send("\x1b!S\r\n\x1b!?"));
  EXPECT_EQ(client.Read(9, kQuiet), "\x42");
}

TEST_F(SimTcpServerTest, RefusedConnectionsFailUntilTheFaultIsCleared) {
  // An accepted connection survives the refusal; one still in the backlog would not.
  TestClient connected(server_.port());
  ASSERT_TRUE(connected.Send("\x1b!?"));
  ASSERT_EQ(connected.Read(1), "\x42");
  server_.SetFaults({.refuse_connections = true});
  TestClient refused(server_.port());
  EXPECT_FALSE(refused.connected());
  EXPECT_EQ(refused.connect_error(), ECONNREFUSED);
  server_.SetFaults({});
  ASSERT_TRUE(connected.Send("\x1b!?"));
  EXPECT_EQ(connected.Read(1), "\x42");
  EXPECT_TRUE(connected.Finish());
  TestClient accepted(server_.port());
  ASSERT_TRUE(accepted.Send("\x1b!?"));
  EXPECT_EQ(accepted.Read(1), "\x42");
}

TEST_F(SimTcpServerTest, RefusalSetBeforeStartHoldsFromTheStart) {
  SimPrinter printer;
  SimTcpServer server(printer);
  server.SetFaults({.refuse_connections = true});
  ASSERT_TRUE(server.Start().ok());
  TestClient refused(server.port());
  EXPECT_EQ(refused.connect_error(), ECONNREFUSED);
}

TEST_F(SimTcpServerTest, StopIsPromptWhileAClientWaitsForADelayedAnswer) {
  server_.SetFaults({.byte_delay = 10s});
  TestClient client(server_.port());
  ASSERT_TRUE(client.Send("\x1b!S\r\n"));
  ASSERT_EQ(client.Read(1), "\x01");
  const auto start = std::chrono::steady_clock::now();
  server_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(client.WaitClosed());
}

TEST_F(SimTcpServerTest, StartFailsOnAPortInUse) {
  SimPrinter printer;
  SimTcpServer second(printer);
  const SimFailure refused = second.Start("127.0.0.1", server_.port());
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.detail.find(std::to_string(server_.port())), std::string::npos)
      << refused.detail;
}

// The serving thread's poll(): fails once with the errno put here, then waits as poll() does.
std::atomic<int> g_poll_errno = 0;

int PollFailingOnce(pollfd* fds, nfds_t count, int timeout_ms) {
  if (const int error = g_poll_errno.exchange(0); error != 0) {
    errno = error;
    return -1;
  }
  return ::poll(fds, count, timeout_ms);
}

// Starts `server` with its first wait failing with `error`; `stopped` hears why it stopped.
void StartWithFailingWait(SimTcpServer& server, int error, std::promise<SimFailure>& stopped) {
  g_poll_errno = error;
  server.SetServingHooks(
      {.poll = PollFailingOnce, .stopped = [&](const SimFailure& why) { stopped.set_value(why); }});
  ASSERT_TRUE(server.Start().ok());
}

TEST(SimServingHooksTest, AFailedWaitStopsTheServerAndSaysWhy) {
  SimPrinter printer;
  SimTcpServer server(printer);
  std::promise<SimFailure> stopped;
  StartWithFailingWait(server, ENOMEM, stopped);
  auto why = stopped.get_future();
  ASSERT_EQ(why.wait_for(30s), std::future_status::ready);
  EXPECT_EQ(why.get().detail, std::string("poll: ") + std::strerror(ENOMEM));
  server.Stop();
}

TEST(SimServingHooksTest, AnInterruptedWaitKeepsServing) {
  SimPrinter printer;
  SimTcpServer server(printer);
  std::promise<SimFailure> stopped;
  StartWithFailingWait(server, EINTR, stopped);
  TestClient client(server.port());
  ASSERT_TRUE(client.Send("\r\n\x1b!?"));
  EXPECT_EQ(client.Read(1), std::string(1, '\0'));
  server.Stop();
  EXPECT_EQ(stopped.get_future().wait_for(0s), std::future_status::timeout);
}

}  // namespace
}  // namespace vantrel::sim
