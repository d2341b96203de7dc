// The network checks against the simulated printer on 127.0.0.1, a refused port and a silent
// printer; the subnet rule on address tables (nothing is sent for it).
#include "doctor/network_checks.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include "doctor/fake_system_tree.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::Find;

class NetworkChecksTest : public testing::SimFixture {
 protected:
  DoctorRequest Request(int port) {
    DoctorRequest request;
    request.network = {"127.0.0.1", port};
    request.timeout = std::chrono::milliseconds(1500);
    return request;
  }
};

TEST_F(NetworkChecksTest, AnsweringPrinterPassesEveryCheck) {
  const DoctorReport report = CheckNetwork(Request(server_.port()));
  ASSERT_EQ(report.size(), 4u);
  for (const DoctorCheck& check : report) EXPECT_TRUE(check.ok) << check.check << check.detail;
  EXPECT_NE(Find(report, "subnet").detail.find("127.0.0.1/8"), std::string::npos);
  EXPECT_NE(Find(report, "status").detail.find("the printer answers: status 0x"),
            std::string::npos);
}

TEST_F(NetworkChecksTest, SilentPrinterFailsTheStatusQuestionOnly) {
  sim::SimFaults faults;
  faults.never_answer = true;
  server_.SetFaults(faults);
  const DoctorReport report = CheckNetwork(Request(server_.port()));
  EXPECT_TRUE(Find(report, "connect").ok);
  EXPECT_FALSE(Find(report, "status").ok);
}

TEST_F(NetworkChecksTest, RefusedPortNamesThePortToCheck) {
  // A bound socket that does not listen: connecting to its port is refused.
  const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t size = sizeof address;
  ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &size);
  const DoctorReport report = CheckNetwork(Request(ntohs(address.sin_port)));
  ::close(holder);
  const DoctorCheck connect = Find(report, "connect");
  EXPECT_FALSE(connect.ok);
  EXPECT_TRUE(connect.fix.starts_with("the printer refuses port")) << connect.fix;
  EXPECT_EQ(report.back().check, "connect");
}

TEST(NetworkAddressTest, NoHostAsksForOne) {
  const DoctorReport report = CheckNetwork(DoctorRequest{});
  ASSERT_EQ(report.size(), 1u);
  EXPECT_FALSE(report[0].ok);
  EXPECT_NE(report[0].fix.find("--host"), std::string::npos);
}

TEST(SubnetCheckTest, AddressOffEveryLocalSubnetGetsTheBroadcastHint) {
  // Plain numbers, nothing is sent: 192.0.2.10/24 on eth0 and 198.18.1.2/15 on wlan0.
  const std::vector<LocalSubnet> subnets = {{"eth0", 0xC000020A, 0xFFFFFF00},
                                            {"wlan0", 0xC6120102, 0xFFFE0000}};
  const DoctorCheck near = CheckSubnet(0xC0000263, subnets);  // 192.0.2.99
  EXPECT_EQ(near.detail, "on the local subnet 192.0.2.10/24 on eth0");
  EXPECT_TRUE(near.fix.empty());
  EXPECT_TRUE(CheckSubnet(0xC613FE01, subnets).fix.empty());  // 198.19.254.1

  const DoctorCheck far = CheckSubnet(0xC6336407, subnets);  // 198.51.100.7
  EXPECT_TRUE(far.ok);
  EXPECT_NE(far.detail.find("discovery will not find it"), std::string::npos);
  EXPECT_NE(far.fix.find("vantrel-cli discover --broadcast 198.51.100.255"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
