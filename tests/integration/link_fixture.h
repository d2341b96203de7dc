#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "engine/sim_printer.h"
#include "link/link_layer.h"
#include "servers/sim_pty_server.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::testing {

// The links the simulated printer can be reached over on this machine.
enum class SimLink { kTcp, kPty };

inline std::string SimLinkName(const ::testing::TestParamInfo<SimLink>& info) {
  return info.param == SimLink::kTcp ? "Tcp" : "Pty";
}

inline void PrintTo(SimLink link, std::ostream* os) {
  *os << (link == SimLink::kTcp ? "TCP" : "pseudo-terminal");
}

// The simulated printer behind a real link: loopback TCP on the ETHERNET interface, or a
// pseudo-terminal opened by the serial link on the COM interface.
class SimLinkTest : public ::testing::TestWithParam<SimLink> {
 protected:
  SimLinkTest() : tcp_(printer_), pty_(printer_) {}

  void SetUp() override {
    if (GetParam() == SimLink::kTcp) {
      const auto started = tcp_.Start("127.0.0.1", 0);
      ASSERT_TRUE(started.ok()) << started.detail;
      network_ = {"127.0.0.1", tcp_.port()};
      interface_ = kInterfaceEthernet;
    } else {
      const auto started = pty_.Start();
      ASSERT_TRUE(started.ok()) << started.detail;
      serial_.port_name = pty_.slave_path();
      interface_ = kInterfaceCom;
    }
    link_.BindLinkSettings(&serial_, nullptr, &network_);
    LinkWaits waits;
    waits.net_read = waits.com_read = std::chrono::milliseconds(1500);
    link_.SetWaits(waits);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  // Waits until the printer has taken everything sent so far. Needed on the serial line only:
  // the next operation's open purges what the line still holds.
  void Settle() {
    if (GetParam() == SimLink::kPty) {
      ASSERT_TRUE(pty_.Settle(std::chrono::seconds(10)));
    }
  }

  // What the printer received, once it holds at least `count` bytes.
  std::string Received(std::size_t count) {
    const auto wait = std::chrono::seconds(10);
    const bool arrived = GetParam() == SimLink::kTcp ? tcp_.WaitForReceived(count, wait)
                                                     : pty_.WaitForReceived(count, wait);
    EXPECT_TRUE(arrived);
    const auto bytes = GetParam() == SimLink::kTcp ? tcp_.Received() : pty_.Received();
    return std::string(bytes.begin(), bytes.end());
  }

  sim::SimPrinter printer_;
  sim::SimTcpServer tcp_;
  sim::SimPtyServer pty_;
  SerialSettings serial_;
  NetworkTarget network_;
  LinkLayer link_;
  InterfaceKind interface_ = kInterfaceEthernet;
};

}  // namespace vantrel::testing
