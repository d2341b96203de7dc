// Real broadcast and multicast with the default addresses and port. Run only through
// scripts/run-in-private-network.sh, which makes a network namespace with lo alone; every test
// first checks that it is in one and is skipped otherwise, so nothing reaches a real network.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "net/net_setup_session.h"
#include "servers/sim_private_network.h"
#include "servers/sim_tcp_server.h"
#include "servers/sim_udp_responder.h"
#include "support/cli_runner.h"
#include "support/seen_requests.h"

namespace vantrel {
namespace {

using testing::SeenRequests;

class PrivateNetworkTest : public ::testing::Test {
 protected:
  PrivateNetworkTest() : responder_(sim::MakeSimFleet(sim::SimNetState{}, 3)) {}

  void SetUp() override {
    std::string why;
    if (!sim::InPrivateLoopbackNetwork(why)) GTEST_SKIP() << "not sending broadcasts: " << why;
    const auto started = responder_.Start({"0.0.0.0", DatagramTargets::kDefaultPort});
    ASSERT_TRUE(started.ok()) << started.detail;
    DatagramTargets targets;  // 255.255.255.255, 224.0.0.251, 22368
    targets.discovery_wait = std::chrono::milliseconds(300);
    targets.setup_wait = std::chrono::milliseconds(1000);
    session_ = NetSetupSession(targets);
  }

  sim::SimUdpResponder responder_;
  NetSetupSession session_;
};

TEST_F(PrivateNetworkTest, BroadcastAndMulticastEachReachEveryPrinter) {
  const DiscoveryOutcome outcome = session_.Discover();
  ASSERT_EQ(outcome.rows.size(), 6u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(outcome.rows[i], outcome.rows[i + 3]) << "listed once per request";
    EXPECT_EQ(outcome.rows[i].ip_address, "127.0.0." + std::to_string(i + 1));
  }
  EXPECT_EQ(outcome.rows[2].mac, "02:11:22:33:44:5C");
}

TEST_F(PrivateNetworkTest, ChangeIpByBroadcastShowsInTheNextDiscovery) {
  const MacAddress mac = *ParseMacText("02:11:22:33:44:5B");
  ChangeIpRun run = session_.BeginChangeIp(mac);
  NetSettings settings;
  settings.PrinterName = "Dock 3";
  run.ReadSettings(settings);
  ASSERT_EQ(settings.IpAddress, "127.0.0.2") << "the get was not answered";
  settings.IpAddress = "127.0.5.5";
  ASSERT_EQ(session_.FinishChangeIp(run, settings), "");
  ASSERT_TRUE(responder_.WaitForReceived(6, std::chrono::seconds(5)));

  const DiscoveryOutcome outcome = session_.Discover();
  ASSERT_EQ(outcome.rows.size(), 6u);
  EXPECT_EQ(outcome.rows[1].printer_name, "Dock 3");
  EXPECT_EQ(outcome.rows[1].ip_address, "127.0.5.5");
  EXPECT_EQ(outcome.rows[0].ip_address, "127.0.0.1");
}

TEST_F(PrivateNetworkTest, FactoryDefaultByBroadcastReachesOnlyItsMac) {
  const sim::SimNetState factory = responder_.Printer(0);
  for (std::size_t index : {0u, 1u}) {
    sim::SimNetState changed = responder_.Printer(index);
    changed.name = "changed";
    responder_.SetPrinter(index, changed);
  }
  const LinkFailure sent = session_.SendFactoryDefault(*ParseMacText("02:11:22:33:44:5A"));
  ASSERT_TRUE(sent.ok()) << sent.detail;
  ASSERT_TRUE(responder_.WaitForReceived(1, std::chrono::seconds(5)));
  EXPECT_EQ(responder_.Printer(0), factory);
  EXPECT_EQ(responder_.Printer(1).name, "changed");
  EXPECT_EQ(SeenRequests(responder_).front().opcode, 1);
}

// Inside a namespace of its own, made with lo alone and no route, the system refuses every
// datagram: a command that sent nothing must not say it did, nor that no printer answered.
TEST(NoRouteTest, UdpCommandsThatSentNothingFail) {
  std::string why;
  if (!sim::InPrivateLoopbackNetwork(why)) GTEST_SKIP() << "not sending datagrams: " << why;
  const std::string stem = ::testing::TempDir() + "/no_route_" + std::to_string(::getpid());
  const struct {
    const char* label;
    const char* args;
  } cases[] = {
      {"factory default", "udp factory-default 02:11:22:33:44:5A --broadcast 10.9.9.9"},
      {"change ip", "udp change-ip 02:11:22:33:44:5A --dhcp --name P --broadcast 10.9.9.9"},
      {"change ip, name looked up", "udp change-ip 02:11:22:33:44:5A --dhcp --broadcast 10.9.9.9"},
      {"discover", "discover --broadcast 10.9.9.9"},
  };
  for (const auto& c : cases) {
    const std::string command = std::string("unshare -n ") + VANTREL_CLI_PATH + " " + c.args +
                                " >" + stem + ".out 2>" + stem + ".err </dev/null";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << c.label;
    EXPECT_EQ(WEXITSTATUS(raw), 2) << c.label;
    const std::string err = testing::Slurp(stem + ".err");
    EXPECT_NE(err.find("Data Transmission Error"), std::string::npos) << c.label << ": " << err;
    EXPECT_NE(err.find("unreachable"), std::string::npos) << c.label << ": " << err;
    EXPECT_EQ(testing::Slurp(stem + ".out"), "") << c.label;
  }
}

// fleet --discover works on each printer that answers, over TCP at the address it answers with.
TEST(FleetDiscoverTest, EveryAnsweringPrinterIsWorkedOn) {
  std::string why;
  if (!sim::InPrivateLoopbackNetwork(why)) GTEST_SKIP() << "not sending broadcasts: " << why;
  const std::vector<sim::SimNetState> fleet = sim::MakeSimFleet(sim::SimNetState{}, 3);
  std::vector<std::unique_ptr<sim::SimPrinter>> printers;
  std::vector<std::unique_ptr<sim::SimTcpServer>> servers;
  std::vector<sim::SimPrinter*> shared;
  for (const sim::SimNetState& net : fleet) {
    printers.push_back(std::make_unique<sim::SimPrinter>());
    servers.push_back(std::make_unique<sim::SimTcpServer>(*printers.back()));
    const auto started = servers.back()->Start(sim::SimIpv4Text(net.in_use), 9100);
    ASSERT_TRUE(started.ok()) << started.detail;
    shared.push_back(printers.back().get());
  }
  sim::SimUdpResponder responder(fleet, shared);
  ASSERT_TRUE(responder.Start({"0.0.0.0", DatagramTargets::kDefaultPort}).ok());
  // A subnet that is no ADDRESS/BITS of 0..30 bits is refused; here, should it ever not be,
  // its broadcast stays inside this namespace.
  EXPECT_EQ(testing::RunCli("fleet --discover --subnet 10.0.0.0/31 status").status, 6);
  EXPECT_EQ(testing::RunCli("fleet --discover --subnet 10.0.0.0 status").status, 6);
  const testing::CliRun run = testing::RunCli("fleet --discover --json status");
  EXPECT_EQ(run.status, 0) << run.err;
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    const std::string target = sim::SimIpv4Text(fleet[i].in_use) + ":9100";
    EXPECT_NE(run.out.find("\"name\":\"" + fleet[i].name +
                           "\",\"outcome\":\"unchanged\",\"target\":\"" + target + "\""),
              std::string::npos)
        << run.out;
    EXPECT_EQ(servers[i]->ConnectionCount(), 1u) << target;
  }
}

// A discovery that nothing answers says so, and no printer could be reached.
TEST(FleetDiscoverTest, NoAnswerIsSaid) {
  std::string why;
  if (!sim::InPrivateLoopbackNetwork(why)) GTEST_SKIP() << "not sending broadcasts: " << why;
  const testing::CliRun run = testing::RunCli("fleet --discover --json status");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("No printer answered the discovery"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vantrel
