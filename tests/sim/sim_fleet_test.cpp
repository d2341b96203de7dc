// Where the printers of a fleet listen and what sets each apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/sim_fleet_member.h"
#include "servers/sim_fleet_addresses.h"

namespace vantrel::sim {
namespace {

std::vector<std::string> Texts(const std::vector<SimListenPoint>& points) {
  std::vector<std::string> texts;
  for (const SimListenPoint& point : points) {
    texts.push_back(point.host + ':' + std::to_string(point.port));
  }
  return texts;
}

TEST(SimFleetAddressesTest, CountsUpPortsOrLoopbackHosts) {
  struct Case {
    SimFleetLayout layout;
    std::vector<std::string> points;
  };
  const Case cases[] = {
      {{"127.0.0.1", 9100, 3, false}, {"127.0.0.1:9100", "127.0.0.1:9101", "127.0.0.1:9102"}},
      {{"::1", 0, 2, false}, {"::1:0", "::1:0"}},
      {{"127.0.0.254", 9100, 3, true}, {"127.0.0.254:9100", "127.0.0.255:9100", "127.0.1.0:9100"}},
      {{"127.0.0.1", 65534, 2, false}, {"127.0.0.1:65534", "127.0.0.1:65535"}},
      {{"127.255.255.253", 0, 2, true}, {"127.255.255.253:0", "127.255.255.254:0"}},
  };
  for (const Case& c : cases) {
    const SimFleetPoints result = SimFleetListenPoints(c.layout);
    EXPECT_TRUE(result.failure.ok()) << result.failure.detail;
    EXPECT_EQ(Texts(result.points), c.points);
  }
}

TEST(SimFleetAddressesTest, RefusesWhatLeavesThePortsOrTheLoopbackRange) {
  struct Case {
    SimFleetLayout layout;
    std::string named;  // in the failure
  };
  const Case cases[] = {
      {{"127.0.0.1", 65535, 2, false}, "65535"},
      {{"::1", 9100, 2, true}, "127.0.0.0/8"},
      {{"128.0.0.1", 9100, 2, true}, "127.0.0.0/8"},
      {{"127.255.255.254", 9100, 2, true}, "127.255.255.254"},
      {{"127.0.0.1", 9100, 0, false}, "one printer"},
  };
  for (const Case& c : cases) {
    const SimFleetPoints result = SimFleetListenPoints(c.layout);
    EXPECT_TRUE(result.points.empty());
    EXPECT_NE(result.failure.detail.find(c.named), std::string::npos) << result.failure.detail;
  }
}

TEST(SimFleetMemberTest, SerialNameAndMacTellThePrintersApart) {
  struct Case {
    std::size_t index;
    std::size_t count;
    std::string serial;
    std::string name;
    SimMac mac;
  };
  const Case cases[] = {
      {0, 1, "SIM0000001", "SIM-PRINTER", {0x02, 0x11, 0x22, 0x33, 0x44, 0xFE}},
      {0, 12, "SIM0000001-0001", "SIM-PRINTER-0001", {0x02, 0x11, 0x22, 0x33, 0x44, 0xFE}},
      {2, 12, "SIM0000001-0003", "SIM-PRINTER-0003", {0x02, 0x11, 0x22, 0x33, 0x45, 0x00}},
      {10000, 10001, "SIM0000001-10001", "SIM-PRINTER-10001", {0x02, 0x11, 0x22, 0x33, 0x6C, 0x0E}},
  };
  SimState base;
  base.net.mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0xFE};
  for (const Case& c : cases) {
    const SimState state = SimFleetMemberState(base, c.index, c.count);
    EXPECT_EQ(state.config.serial_number, c.serial);
    EXPECT_EQ(state.net.name, c.name);
    EXPECT_EQ(state.net.mac, c.mac);
  }
}

TEST(SimFleetMemberTest, ASilentSerialNumberStaysSilent) {
  SimState base;
  base.config.serial_number.reset();
  EXPECT_FALSE(SimFleetMemberState(base, 1, 2).config.serial_number);
}

}  // namespace
}  // namespace vantrel::sim
