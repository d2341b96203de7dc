// A network link that vanishes after the connection is made, and a name whose every address is
// silent. Run only through scripts/run-in-private-network.sh: each test first checks that it is
// in a namespace of its own, because it makes the loopback interface drop every packet.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "link/link_layer.h"
#include "ops/dispatcher.h"
#include "servers/sim_private_network.h"
#include "support/loopback_listener.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::LoopbackListener;

bool DropAllOnLoopback(bool drop) {
  return std::system(drop ? "tc qdisc add dev lo root blackhole 2>/dev/null"
                          : "tc qdisc del dev lo root 2>/dev/null") == 0;
}

class VanishingLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    if (!sim::InPrivateLoopbackNetwork(why)) GTEST_SKIP() << "not dropping packets: " << why;
    if (!DropAllOnLoopback(false) && !DropAllOnLoopback(true)) GTEST_SKIP() << "no tc";
    DropAllOnLoopback(false);
    waits_.net_read = 500ms;
    waits_.net_write = 500ms;
    waits_.net_connect = 1500ms;
    waits_.net_close = 500ms;
  }
  void TearDown() override { DropAllOnLoopback(false); }

  // A link whose every connection loses its peer as soon as it is made.
  int RunOverVanishingLink(std::uint16_t port, int op, OperationRecord record = {}) {
    LinkLayer link(
        [](InterfaceKind kind, const BoundLinkSettings& settings, const LinkWaits& waits) {
          OpenedTransport opened = OpenSystemTransport(kind, settings, waits);
          DropAllOnLoopback(true);
          return opened;
        });
    NetworkTarget target{"127.0.0.1", port};
    link.BindLinkSettings(nullptr, nullptr, &target);
    link.SetWaits(waits_);
    link.progress().SetEndDelay(0ms);
    const auto start = Clock::now();
    const int code = RunPrinterOperation(link, op, kInterfaceEthernet, record).code;
    took_ = Clock::now() - start;
    return code;
  }

  LinkWaits waits_;
  Clock::duration took_{};
};

// The printer counts what reaches it until the test is over.
std::size_t CountReceived(int fd) {
  std::size_t count = 0;
  char buffer[4096];
  const auto end = Clock::now() + 3s;
  while (Clock::now() < end) {
    const ssize_t n = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (n > 0) count += static_cast<std::size_t>(n);
    std::this_thread::sleep_for(20ms);
  }
  return count;
}

TEST_F(VanishingLinkTest, SendOverAVanishedLinkFails) {
  std::size_t received = 0;
  {
    LoopbackListener printer([&](int fd) { received = CountReceived(fd); });
    const std::vector<std::uint8_t> block(10000, 'z');
    EXPECT_EQ(RunOverVanishingLink(printer.port(), kOpSendRawBlock, RawBlock{block}),
              kResultTransmissionError);
    EXPECT_LT(took_, 20s);
  }
  EXPECT_EQ(received, 0u);
}

TEST_F(VanishingLinkTest, StatusOverAVanishedLinkFailsAfterOneReadWait) {
  waits_.net_close = 60s;
  LoopbackListener printer([&](int fd) { CountReceived(fd); });
  StatusFlags flags;
  EXPECT_EQ(RunOverVanishingLink(printer.port(), kOpQueryStatus, &flags), kResultReceivingError);
  EXPECT_LT(took_, 30s);
}

// The connect wait covers the whole attempt, not each of the name's addresses. A name nothing
// knows fails at once: any name server asked is beyond this namespace's reach.
TEST_F(VanishingLinkTest, ConnectWaitCoversEveryAddressOfAName) {
  // A mount namespace of this thread's own, so the host's name table stays untouched.
  ASSERT_EQ(::unshare(CLONE_NEWNS), 0);
  ASSERT_EQ(::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
  const std::string hosts = ::testing::TempDir() + "/hosts." + std::to_string(::getpid());
  std::ofstream(hosts) << "127.0.0.2 four-silent\n127.0.0.3 four-silent\n"
                          "127.0.0.4 four-silent\n127.0.0.5 four-silent\n";
  ASSERT_EQ(::mount(hosts.c_str(), "/etc/hosts", nullptr, MS_BIND, nullptr), 0);
  ASSERT_TRUE(DropAllOnLoopback(true));

  NetworkTarget target{"four-silent", 9100};
  LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &target);
  link.SetWaits(waits_);
  const auto start = Clock::now();
  EXPECT_FALSE(link.OpenLink(kInterfaceEthernet));
  EXPECT_LT(Clock::now() - start, 4500ms);
  EXPECT_EQ(link.LastFailure().os_error, ETIMEDOUT);
  EXPECT_EQ(link.LastFailure().detail, "cannot connect within 1500 ms");

  target.address = "no-such-printer.invalid";
  EXPECT_FALSE(link.OpenLink(kInterfaceEthernet));
  EXPECT_EQ(link.LastFailure().code, kResultPortOpenError);
  EXPECT_TRUE(link.LastFailure().detail.starts_with("cannot resolve")) << link.LastFailure().detail;
  ::umount("/etc/hosts");
}

}  // namespace
}  // namespace vantrel
