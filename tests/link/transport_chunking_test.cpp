// The pieces each real transport hands the printer, seen through the progress bar that moves
// once per piece: 1024 bytes over TCP, 64 over serial and USB, the whole block over LPT.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "link/fake_usb_bus.h"
#include "link/link_layer.h"
#include "link/pseudo_terminal.h"
#include "support/loopback_listener.h"
#include "support/progress_recorder.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using testing::ProgressRecorder;

// Writes `block` in percent mode over an opened link and returns the bars drawn.
std::vector<int> BarsOfWrite(LinkLayer& link, InterfaceKind kind, const std::string& block) {
  ProgressRecorder recorder;
  link.progress().SetView(&recorder);
  link.progress().SetEndDelay(milliseconds(0));
  EXPECT_TRUE(link.OpenLink(kind)) << link.LastFailure().detail;
  link.progress().BeginProgress(kProgressPercent, 3, 3);
  EXPECT_TRUE(link.WriteLink(block)) << link.LastFailure().detail;
  link.CloseLink();
  link.progress().SetView(nullptr);
  return recorder.bars;
}

TEST(TransportChunkingTest, TcpSendsKilobytePieces) {
  const std::string block(2500, 't');
  std::string received;
  std::vector<int> bars;
  {
    testing::LoopbackListener peer([&](int fd) {
      char buffer[4096];
      for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, n);
    });
    NetworkTarget target{.address = "127.0.0.1", .port = peer.port()};
    LinkLayer link;
    link.BindLinkSettings(nullptr, nullptr, &target);
    bars = BarsOfWrite(link, kInterfaceEthernet, block);
  }
  // 1024, 1024 and 452 bytes: 3 from the start, then 40, 81 and 100.
  EXPECT_EQ(bars, (std::vector<int>{3, 40, 81, 100}));
  EXPECT_EQ(received, block);
}

TEST(TransportChunkingTest, SerialSendsPiecesOf64) {
  testing::PseudoTerminal pty;
  SerialSettings settings;
  settings.port_name = pty.slave_path();
  LinkLayer link;
  link.BindLinkSettings(&settings, nullptr, nullptr);
  const std::string block(200, 's');
  EXPECT_EQ(BarsOfWrite(link, kInterfaceCom, block), (std::vector<int>{3, 32, 64, 96, 100}));
  EXPECT_EQ(pty.ReadMaster(block.size(), milliseconds(5000)), block);
}

TEST(TransportChunkingTest, UsbSendsPiecesOf64) {
  auto bus = std::make_shared<testing::FakeUsbBus>();
  bus->paths = {"usb#vid_369e&pid_0230#1-2"};
  LinkLayer link(testing::FakeBusOpener(bus));
  const std::string block(200, 'u');
  EXPECT_EQ(BarsOfWrite(link, kInterfaceUsb, block), (std::vector<int>{3, 32, 64, 96, 100}));
  EXPECT_EQ(bus->write_sizes, (std::vector<std::size_t>{64, 64, 64, 8}));
  EXPECT_EQ(bus->written, block);
}

TEST(TransportChunkingTest, ParallelWritesTheWholeBlockAtOnce) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vantrel-chunking-" + std::to_string(::getpid()));
  std::ofstream(path).close();  // the port opens only what exists
  ParallelPortName port;
  port.name = path.string();
  LinkLayer link;
  link.BindLinkSettings(nullptr, &port, nullptr);
  const std::string block(5000, 'p');
  EXPECT_EQ(BarsOfWrite(link, kInterfaceLpt, block), (std::vector<int>{3, 100}));
  std::ostringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  std::filesystem::remove(path);
  EXPECT_EQ(written.str(), block);
}

}  // namespace
}  // namespace vantrel
