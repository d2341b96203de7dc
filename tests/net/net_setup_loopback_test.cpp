// Discovery, Change IP and factory default against simulated printers, every datagram directed
// to 127.0.0.1 (the "broadcast" and "multicast" addresses are parameters).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "net/net_setup_session.h"
#include "net/setup_datagrams.h"
#include "servers/sim_udp_responder.h"
#include "support/seen_requests.h"

namespace vantrel {
namespace {

using testing::SeenRequest;
using testing::SeenRequests;

constexpr Ipv4Bytes kLoopback = {127, 0, 0, 1};
constexpr std::chrono::milliseconds kDiscoveryWait{200};
constexpr std::chrono::milliseconds kSetupWait{500};
const std::string kSecondMac = "02:11:22:33:44:5B";

DatagramTargets LoopbackTargets(std::uint16_t port) {
  DatagramTargets targets;
  targets.broadcast = kLoopback;
  targets.multicast = kLoopback;
  targets.port = port;
  targets.discovery_wait = kDiscoveryWait;
  targets.setup_wait = kSetupWait;
  return targets;
}

class NetSetupLoopbackTest : public ::testing::Test {
 protected:
  NetSetupLoopbackTest() : responder_(sim::MakeSimFleet(sim::SimNetState{}, 3)) {}

  void SetUp() override {
    const auto started = responder_.Start({"127.0.0.1", 0});
    ASSERT_TRUE(started.ok()) << started.detail;
    session_ = NetSetupSession(LoopbackTargets(responder_.port()));
  }

  // What a Change IP of the second printer starts from, as the dialog fills it from its row.
  NetSettings ReadSecondPrinter(ChangeIpRun& run) {
    NetSettings settings;
    settings.MacText = kSecondMac;
    settings.PrinterName = "SIM-33445B";
    run.ReadSettings(settings);
    return settings;
  }

  std::vector<SeenRequest> Settled(std::size_t count) {
    EXPECT_TRUE(responder_.WaitForReceived(count, std::chrono::seconds(5)));
    return SeenRequests(responder_);
  }

  sim::SimUdpResponder responder_;
  NetSetupSession session_;
};

TEST_F(NetSetupLoopbackTest, DiscoveryListsEachPrinterOncePerRequest) {
  const DiscoveryOutcome outcome = session_.Discover();
  ASSERT_TRUE(outcome.failure.ok()) << outcome.failure.detail;
  const DeviceListRow first{"SIM-33445A", "02:11:22:33:44:5A", "127.0.0.1", "VT-SIM 203", "Ready"};
  const DeviceListRow second{"SIM-33445B", kSecondMac, "127.0.0.2", "VT-SIM 203", "Ready"};
  const DeviceListRow third{"SIM-33445C", "02:11:22:33:44:5C", "127.0.0.3", "VT-SIM 203", "Ready"};
  EXPECT_EQ(outcome.rows, (std::vector{first, second, third, first, second, third}));
  EXPECT_EQ(session_.sequence(), 2);
  const SeenRequest discovery{2, 0, 1, 32, "FF:FF:FF:FF:FF:FF"};
  EXPECT_EQ(Settled(2), (std::vector{discovery, discovery}));
}

TEST_F(NetSetupLoopbackTest, DiscoveryShowsStatesAndSkipsTheMulticastWhenToldTo) {
  sim::SimNetState jammed = responder_.Printer(1);
  jammed.run_state = 3;
  jammed.error_flags = 0x12;
  responder_.SetPrinter(1, jammed);
  DatagramTargets targets = session_.targets();
  targets.multicast.reset();
  NetSetupSession session(targets);
  const DiscoveryOutcome outcome = session.Discover();
  ASSERT_EQ(outcome.rows.size(), 3u);
  EXPECT_EQ(outcome.rows[1].status, "Paper Jam");
  EXPECT_EQ(Settled(1).size(), 1u);
}

TEST_F(NetSetupLoopbackTest, NoAnswerGivesAnEmptyListAfterBothWaits) {
  responder_.Stop();
  const auto start = std::chrono::steady_clock::now();
  const DiscoveryOutcome outcome = session_.Discover();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * kDiscoveryWait);
  EXPECT_TRUE(outcome.failure.ok());
  EXPECT_TRUE(outcome.rows.empty());
  EXPECT_EQ(session_.sequence(), 2);
}

// A datagram socket on 127.0.0.1 that plays one printer; `port` is where it listens.
int LoopbackPrinterSocket(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

// Waits for the discovery request; false when none came.
bool AwaitRequest(int fd, sockaddr_in& from) {
  std::array<std::uint8_t, 64> request;
  socklen_t from_length = sizeof from;
  return ::recvfrom(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&from),
                    &from_length) >= 0;
}

// A printer that answers with a 31-byte, a 32-byte and an oversized datagram.
TEST(DiscoveryCollectTest, ShortRepliesAreSkippedAndCollectingGoesOn) {
  std::uint16_t port = 0;
  const int fd = LoopbackPrinterSocket(port);
  ASSERT_GE(fd, 0);
  std::thread printer([fd] {
    sockaddr_in from{};
    if (!AwaitRequest(fd, from)) return;
    std::vector<std::uint8_t> reply(4000, 'n');
    reply[22] = 0x02;
    for (std::size_t size : {31u, 32u, 4000u}) {
      ::sendto(fd, reply.data(), size, 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
    }
  });
  DatagramTargets targets = LoopbackTargets(port);
  targets.multicast.reset();
  const DiscoveryOutcome outcome = RunDiscovery(targets, 1);
  printer.join();
  ::close(fd);
  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0].mac, "02:6E:6E:6E:6E:6E");
  EXPECT_EQ(outcome.rows[0].printer_name, "");
  // Received into 2048 bytes: the name runs to the end of what was kept.
  EXPECT_EQ(outcome.rows[1].printer_name, std::string(2048 - 84, 'n'));
  EXPECT_EQ(outcome.rows[1].model_name, std::string(32, 'n'));
}

// Replies that never stop cannot hold a discovery run open beyond its bound.
TEST(DiscoveryCollectTest, EndlessRepliesEndAtTheRunsBound) {
  std::uint16_t port = 0;
  const int fd = LoopbackPrinterSocket(port);
  ASSERT_GE(fd, 0);
  std::atomic<bool> stop{false};
  std::thread printer([fd, &stop] {
    sockaddr_in from{};
    if (!AwaitRequest(fd, from)) return;
    std::vector<std::uint8_t> reply(120, 'n');
    reply[22] = 0x02;
    for (int sent = 0; !stop && sent < 1000; ++sent) {
      ::sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  DatagramTargets targets = LoopbackTargets(port);
  targets.multicast.reset();
  targets.discovery_bound = std::chrono::milliseconds(500);
  const auto start = std::chrono::steady_clock::now();
  const DiscoveryOutcome outcome = RunDiscovery(targets, 1);
  const auto took = std::chrono::steady_clock::now() - start;
  stop = true;
  printer.join();
  ::close(fd);
  EXPECT_FALSE(outcome.rows.empty());
  EXPECT_LT(took, std::chrono::seconds(10));
}

TEST_F(NetSetupLoopbackTest, ChangeIpSetsThePrinterAndANewDiscoveryShowsIt) {
  session_.Discover();
  ChangeIpRun run = session_.BeginChangeIp(*ParseMacText(kSecondMac));
  ASSERT_TRUE(run.is_open());
  NetSettings settings = ReadSecondPrinter(run);
  EXPECT_EQ(settings.IpAddress, "127.0.0.2");
  EXPECT_EQ(settings.LastUsedIp, "127.0.0.2");
  EXPECT_EQ(settings.SubnetMask, "255.0.0.0");
  EXPECT_EQ(settings.Gateway, "0.0.0.0");
  EXPECT_EQ(settings.AddressMode, kAddressModeStatic);

  settings.IpAddress = "127.0.9.9";
  settings.Gateway = "127.0.0.254";
  settings.PrinterName = "Dock 3";
  EXPECT_EQ(session_.FinishChangeIp(run, settings), "");
  EXPECT_EQ(session_.sequence(), 3);

  auto request = [](std::uint16_t opcode, std::uint8_t item, std::size_t size) {
    return SeenRequest{opcode, item, 2, size, kSecondMac};
  };
  const std::vector<SeenRequest> seen = Settled(8);
  EXPECT_EQ(std::vector(seen.begin() + 2, seen.end()),
            (std::vector{request(3, 4, 34), request(3, 5, 34), request(4, 0, 1064),
                         request(4, 4, 1064), request(4, 5, 1064), request(4, 7, 1064)}));
  const sim::SimNetState changed = responder_.Printer(1);
  EXPECT_EQ(changed.name, "Dock 3");
  EXPECT_EQ(changed.ip, (sim::SimIpv4{127, 0, 9, 9}));
  EXPECT_EQ(changed.gateway, (sim::SimIpv4{127, 0, 0, 254}));
  EXPECT_FALSE(changed.dhcp);
  EXPECT_EQ(responder_.Printer(0).name, "SIM-33445A");

  const DiscoveryOutcome after = session_.Discover();
  ASSERT_EQ(after.rows.size(), 6u);
  EXPECT_EQ(after.rows[1].printer_name, "Dock 3");
  EXPECT_EQ(after.rows[1].ip_address, "127.0.9.9");
}

TEST_F(NetSetupLoopbackTest, ChangeIpToDhcpKeepsTheAddressInUse) {
  ChangeIpRun run = session_.BeginChangeIp(*ParseMacText(kSecondMac));
  NetSettings settings = ReadSecondPrinter(run);
  settings.AddressMode = kAddressModeDhcp;
  ASSERT_EQ(session_.FinishChangeIp(run, settings), "");
  ASSERT_TRUE(responder_.WaitForReceived(6, std::chrono::seconds(5)));
  EXPECT_TRUE(responder_.Printer(1).dhcp);
  EXPECT_EQ(responder_.Printer(1).in_use, (sim::SimIpv4{127, 0, 0, 2}));

  // The printer reports DHCP back, and its address in use as the IP.
  ChangeIpRun again = session_.BeginChangeIp(*ParseMacText(kSecondMac));
  EXPECT_EQ(ReadSecondPrinter(again).AddressMode, kAddressModeDhcp);
}

TEST_F(NetSetupLoopbackTest, CancelledOrRefusedChangeSendsNoSet) {
  const sim::SimNetState before = responder_.Printer(1);
  {
    ChangeIpRun cancelled = session_.BeginChangeIp(*ParseMacText(kSecondMac));
    ReadSecondPrinter(cancelled);
  }
  ChangeIpRun run = session_.BeginChangeIp(*ParseMacText(kSecondMac));
  NetSettings settings = ReadSecondPrinter(run);
  settings.IpAddress = "1.2.3";
  EXPECT_EQ(session_.FinishChangeIp(run, settings),
            "IP address \"1.2.3\" is not a valid IPv4 address");
  EXPECT_FALSE(run.is_open());

  EXPECT_EQ(session_.sequence(), 1);
  const std::vector<SeenRequest> seen = Settled(4);
  ASSERT_EQ(seen.size(), 4u);
  for (const SeenRequest& request : seen) EXPECT_EQ(request.opcode, 3) << "only gets went out";
  EXPECT_EQ(responder_.Printer(1), before);
}

// The name travels in a NUL-terminated field: any listed name goes, cut to 63 bytes. With
// DHCP the address texts are only carried along: empty ones go as 0.0.0.0.
TEST_F(NetSetupLoopbackTest, ChangeIpTakesAnyNameAndNeedsNoAddressesForDhcp) {
  ChangeIpRun run = session_.BeginChangeIp(*ParseMacText(kSecondMac));
  NetSettings settings;
  settings.AddressMode = kAddressModeDhcp;
  settings.PrinterName = "\"Dock\" 3\x01" + std::string(70, 'x');
  ASSERT_EQ(session_.FinishChangeIp(run, settings), "");
  ASSERT_TRUE(responder_.WaitForReceived(4, std::chrono::seconds(5)));
  EXPECT_EQ(responder_.Printer(1).name, settings.PrinterName.substr(0, 63));
  EXPECT_TRUE(responder_.Printer(1).dhcp);
  EXPECT_EQ(responder_.Printer(1).ip, (sim::SimIpv4{0, 0, 0, 0}));
}

TEST_F(NetSetupLoopbackTest, UnansweredGetsLeaveTheRecordAsItWas) {
  ChangeIpRun run = session_.BeginChangeIp({0x02, 0, 0, 0, 0, 0x99});
  NetSettings settings;
  const auto start = std::chrono::steady_clock::now();
  run.ReadSettings(settings);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * kSetupWait);
  EXPECT_EQ(settings.IpAddress, "");
  EXPECT_EQ(settings.SubnetMask, "");
  EXPECT_EQ(settings.AddressMode, kAddressModeStatic);
}

TEST_F(NetSetupLoopbackTest, FactoryDefaultReachesTheRightPrinterOnly) {
  const sim::SimNetState factory_third = responder_.Printer(2);
  for (std::size_t index : {1u, 2u}) {
    sim::SimNetState changed = responder_.Printer(index);
    changed.name = "changed";
    changed.dhcp = true;
    responder_.SetPrinter(index, changed);
  }
  const LinkFailure sent = session_.SendFactoryDefault(*ParseMacText("02:11:22:33:44:5c"));
  ASSERT_TRUE(sent.ok()) << sent.detail;
  EXPECT_EQ(session_.sequence(), 2);
  EXPECT_EQ(Settled(1), (std::vector{SeenRequest{1, 0, 1, 32, "02:11:22:33:44:5C"}}));
  EXPECT_EQ(responder_.Printer(2), factory_third);
  EXPECT_EQ(responder_.Printer(1).name, "changed");
  EXPECT_EQ(responder_.Printer(0).name, "SIM-33445A");
}

// With no descriptor left no socket can be made: each exchange says why and leaves the sequence
// number for the next.
// No responder here: a thread that starts while descriptors are refused would leave the
// sanitizers unable to check its first calls. Nothing is sent, so the port is never used.
TEST(NetSetupWithoutSocketTest, EachExchangeFailsAndSendsNothing) {
  NetSetupSession session(LoopbackTargets(9));
  rlimit old_limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old_limit), 0);
  rlimit none = old_limit;
  none.rlim_cur = 0;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
  const LinkFailure discovered = session.Discover().failure;
  const LinkFailure sent = session.SendFactoryDefault(*ParseMacText(kSecondMac));
  const LinkFailure run = session.BeginChangeIp(*ParseMacText(kSecondMac)).failure();
  ::setrlimit(RLIMIT_NOFILE, &old_limit);

  for (const LinkFailure& failure : {discovered, sent, run}) {
    EXPECT_EQ(failure.code, kResultPortOpenError);
    EXPECT_EQ(failure.os_error, EMFILE);
  }
  EXPECT_EQ(session.sequence(), 1);
}

}  // namespace
}  // namespace vantrel
