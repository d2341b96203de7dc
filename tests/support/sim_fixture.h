#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/sim_printer.h"
#include "link/link_layer.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::testing {

// An in-process simulated printer on a free loopback port and a link layer aimed at it,
// with waits short enough for tests.
class SimFixture : public ::testing::Test {
 protected:
  // Long enough for a loaded machine to answer, short enough for the silence tests.
  static constexpr std::chrono::milliseconds kShortWait{1500};

  SimFixture() : server_(printer_) {}

  void SetUp() override {
    const auto started = server_.Start("127.0.0.1", 0);
    ASSERT_TRUE(started.ok()) << started.detail;
    target_ = {"127.0.0.1", server_.port()};
    link_.BindLinkSettings(nullptr, nullptr, &target_);
    LinkWaits waits;
    waits.net_read = kShortWait;
    waits.net_write = std::chrono::seconds(10);
    waits.list_frame_pause = std::chrono::milliseconds(0);
    link_.SetWaits(waits);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  // Everything the printer received once `connections` connections have ended.
  std::string ReceivedAfter(std::size_t connections) {
    EXPECT_TRUE(server_.WaitForConnectionsClosed(connections, std::chrono::seconds(10)));
    const auto bytes = server_.Received();
    return std::string(bytes.begin(), bytes.end());
  }

  sim::SimPrinter printer_;
  sim::SimTcpServer server_;
  NetworkTarget target_;
  LinkLayer link_;
};

}  // namespace vantrel::testing
