// The network commands of vantrel-cli: JSON, exit statuses and refusals, against simulated
// printers on loopback (TCP for net ..., directed datagrams for discover and udp ...).
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "servers/sim_udp_responder.h"
#include "support/cli_runner.h"
#include "support/seen_requests.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;

class CliNetTest : public testing::SimFixture {
 protected:
  CliNetTest() : responder_(sim::MakeSimFleet(sim::SimNetState{}, 2), {&printer_}) {}

  void SetUp() override {
    SimFixture::SetUp();
    const auto started = responder_.Start({"127.0.0.1", 0});
    ASSERT_TRUE(started.ok()) << started.detail;
  }

  CliRun Cli(const std::string& args) { return testing::RunCli(args); }
  // Never the default broadcast: every datagram goes to the responder on loopback.
  std::string Udp() const {
    return " --broadcast 127.0.0.1 --udp-port " + std::to_string(responder_.port());
  }
  std::string Tcp() const {
    return " -i net --host 127.0.0.1 --port " + std::to_string(target_.port);
  }

  sim::SimUdpResponder responder_;
};

TEST_F(CliNetTest, DiscoverPrintsOneJsonRowPerReply) {
  const CliRun run = Cli("discover --json --multicast 127.0.0.1" + Udp());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = nlohmann::json::parse(run.out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], nlohmann::json({{"name", "SIM-33445A"},
                                     {"mac", "02:11:22:33:44:5A"},
                                     {"ip", "127.0.0.1"},
                                     {"model", "VT-SIM 203"},
                                     {"status", "Ready"}}));
  EXPECT_EQ(rows[3]["mac"], "02:11:22:33:44:5B");
}

// A name with a line break, a tab and terminal escapes cannot forge a row or reach the terminal.
TEST_F(CliNetTest, DiscoverShowsPrinterTextsEscaped) {
  sim::SimNetState hostile = responder_.Printer(0);
  hostile.name = "A\r\nFORGED\t\x1b]0;title\x07\xb5";
  responder_.SetPrinter(0, hostile);
  const CliRun run = Cli("discover --multicast none" + Udp());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
  EXPECT_NE(run.out.find("A\\x0D\\x0AFORGED\\x09\\x1B]0;title\\x07\\xB5\t"), std::string::npos)
      << run.out;
}

TEST_F(CliNetTest, ChangeIpByDatagramsThenReadOverTcpSeesOnePrinter) {
  const CliRun change =
      Cli("udp change-ip 02:11:22:33:44:5a --ip 198.51.100.5 --mask 255.0.0.0 "
          "--gateway 198.51.100.1" +
          Udp());
  ASSERT_EQ(change.status, 0) << change.err;
  const CliRun read = Cli("net read --json" + Tcp());
  ASSERT_EQ(read.status, 0) << read.err;
  const auto settings = nlohmann::json::parse(read.out);
  EXPECT_EQ(settings, nlohmann::json({{"AddressMode", 0},
                                      {"IpAddress", "198.51.100.5"},
                                      {"SubnetMask", "255.0.0.0"},
                                      {"Gateway", "198.51.100.1"},
                                      {"LastUsedIp", "198.51.100.5"},
                                      {"PrinterName", "SIM-33445A"},
                                      {"MacText", "02:11:22:33:44:5A"},
                                      {"SetKind", 0},
                                      {"Confirmed", 0}}));
}

TEST_F(CliNetTest, NetCommandsChangeThePrinterOverTcp) {
  ASSERT_EQ(Cli("net static 203.0.113.9 255.255.0.0 203.0.113.1" + Tcp()).status, 0);
  ASSERT_EQ(Cli("net name Dock-3" + Tcp()).status, 0);
  ASSERT_EQ(Cli("net dhcp" + Tcp()).status, 0);
  EXPECT_EQ(ReceivedAfter(3),
            "NET IP \"203.0.113.9\",\"255.255.0.0\",\"203.0.113.1\"\r\nNET NAME \"Dock-3\"\r\n"
            "NET DHCP\r\n");
  const sim::SimNetState net = printer_.state().net;
  EXPECT_TRUE(net.dhcp);
  EXPECT_EQ(net.name, "Dock-3");
  EXPECT_EQ(net.in_use, (sim::SimIpv4{203, 0, 113, 9}));
}

TEST_F(CliNetTest, FactoryDefaultDatagramGoesToItsMac) {
  const CliRun run = Cli("udp factory-default 02:11:22:33:44:5B" + Udp());
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(responder_.WaitForReceived(1, std::chrono::seconds(5)));
  EXPECT_EQ(testing::SeenRequests(responder_),
            (std::vector{testing::SeenRequest{1, 0, 1, 32, "02:11:22:33:44:5B"}}));
}

TEST_F(CliNetTest, InvalidValuesAreRefusedWithNothingSent) {
  const CliRun address = Cli("net static 198.51.100.256 255.0.0.0 198.51.100.1" + Tcp());
  EXPECT_EQ(address.status, 6);
  EXPECT_EQ(address.err, "IP address \"198.51.100.256\" is not a valid IPv4 address\n");
  EXPECT_EQ(Cli("net name 'a\"b'" + Tcp()).status, 6);
  EXPECT_EQ(
      Cli("udp change-ip 02:11:22:33:44:5A --ip 1.2.3 --mask 255.0.0.0 --gateway 1.2.3.4" + Udp())
          .status,
      6);
  EXPECT_EQ(Cli("udp change-ip 02:11:22:33:44 --dhcp" + Udp()).status, 6);
  EXPECT_EQ(Cli("udp factory-default 02:11:22:33:44:5A:" + Udp()).status, 6);
  EXPECT_EQ(Cli("discover --broadcast 127.0.0 --udp-port 9").status, 6);
  EXPECT_EQ(Cli("discover --broadcast 127.0.0.1 --multicast nowhere --udp-port 9").status, 6);
  EXPECT_EQ(server_.ConnectionCount(), 0u);
  EXPECT_TRUE(responder_.Received().empty());
}

TEST_F(CliNetTest, UsageErrors) {
  EXPECT_EQ(Cli("net").status, 64);
  EXPECT_EQ(Cli("net static 198.51.100.5" + Tcp()).status, 64);
  EXPECT_EQ(Cli("udp change-ip 02:11:22:33:44:5A" + Udp()).status, 64);
  EXPECT_EQ(Cli("udp change-ip 02:11:22:33:44:5A --dhcp --ip 1.2.3.4" + Udp()).status, 64);
  EXPECT_EQ(Cli("udp change-ip 02:11:22:33:44:5A --ip 1.2.3.4" + Udp()).status, 64);
  EXPECT_EQ(Cli("discover --udp-port 0 --broadcast 127.0.0.1").status, 64);
  EXPECT_TRUE(responder_.Received().empty());
}

}  // namespace
}  // namespace vantrel
