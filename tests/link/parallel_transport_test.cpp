#include "link/parallel_transport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "link/link_layer.h"
#include "link/parallel_port_device.h"
#include "ops/dispatcher.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

TEST(ParallelPortDeviceTest, NamesMapToPrinterDevices) {
  EXPECT_EQ(ParallelPortDevice("LPT1"), "/dev/lp0");
  EXPECT_EQ(ParallelPortDevice("lpt4"), "/dev/lp3");
  EXPECT_EQ(ParallelPortDevice("/tmp/printer.fifo"), "/tmp/printer.fifo");
  for (const char* bad : {"LPT0", "LPT5", "LPT", "LPT1x", "COM1", "lp0", ""}) {
    EXPECT_FALSE(ParallelPortDevice(bad)) << bad;
  }
}

class ParallelTransportTest : public ::testing::Test {
 protected:
  ParallelTransportTest() {
    path_ = fs::temp_directory_path() /
            ("vantrel-lpt-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    port_.name = path_.string();
    link_.BindLinkSettings(nullptr, &port_, nullptr);
  }
  ~ParallelTransportTest() override { fs::remove(path_); }

  std::string FileText() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  fs::path path_;
  ParallelPortName port_;
  LinkLayer link_;
};

TEST_F(ParallelTransportTest, FifoReceivesTheWholeBlockInOneWrite) {
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  ASSERT_TRUE(link_.OpenLink(kInterfaceLpt)) << link_.LastFailure().detail;
  // Larger than a pipe holds, so the write blocks until the reader has taken it all.
  std::string block(256 * 1024, '\0');
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
  auto received = std::async(std::launch::async, [this, size = block.size()] {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    std::string got(size, '\0');
    std::size_t have = 0;
    while (have < size) {
      const ssize_t n = ::read(fd, got.data() + have, size - have);
      if (n <= 0) break;
      have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    got.resize(have);
    return got;
  });
  link_.progress().BeginProgress(kProgressPercent, 0, 3);
  EXPECT_TRUE(link_.WriteLink(block));
  EXPECT_EQ(link_.progress().bar(), 100);
  link_.CloseLink();
  EXPECT_EQ(received.get(), block);
}

TEST_F(ParallelTransportTest, FileReceivesTheExactBytesAndReadersFailAtOnce) {
  std::ofstream(path_).close();
  LinkWaits long_waits;
  long_waits.com_read = milliseconds(5000);
  long_waits.usb_read = milliseconds(5000);
  link_.SetWaits(long_waits);
  ASSERT_TRUE(link_.OpenLink(kInterfaceLpt));
  EXPECT_EQ(link_.SendCommandText(InterfaceAnnouncement(kInterfaceLpt)), kResultOk);

  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte = 0;
  std::array<std::uint8_t, 4> bytes{};
  ReplyBuffer frame;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_FALSE(link_.ReadReplyBytes(bytes));
  EXPECT_FALSE(link_.ReadFramedReply(frame));
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(100));
  link_.CloseLink();
  EXPECT_EQ(FileText(), "\r\nDIAGNOSTIC INTERFACE LPT\r\n");
}

TEST_F(ParallelTransportTest, FailuresToOpenSayWhy) {
  EXPECT_FALSE(link_.OpenLink(kInterfaceLpt));  // no such file: never created
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().os_error, ENOENT);
  EXPECT_FALSE(fs::exists(path_));

  port_.name = "LPT9";
  EXPECT_FALSE(link_.OpenLink(kInterfaceLpt));
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_NE(link_.LastFailure().detail.find("is not a parallel port name"), std::string::npos);
}

// Nobody reads the FIFO at all, or its reader stops taking bytes: the write fails within its
// bound instead of succeeding into a buffer of its own or blocking for ever.
TEST_F(ParallelTransportTest, FifoThatNobodyReadsFailsTheWriteInBoundedTime) {
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  LinkWaits waits;
  waits.com_write = milliseconds(200);
  waits.com_write_per_byte = milliseconds(1);
  link_.SetWaits(waits);
  link_.progress().SetEndDelay(milliseconds(0));
  const auto start = std::chrono::steady_clock::now();
  const LinkFailure unread = RunPrinterOperation(link_, kOpFactoryDefault, kInterfaceLpt, {});
  EXPECT_EQ(unread.code, kResultTransmissionError);
  EXPECT_EQ(unread.os_error, ENXIO) << unread.detail;

  const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  const std::vector<std::uint8_t> block(1024 * 1024, 'x');
  const LinkFailure stalled =
      RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceLpt, RawBlock{block});
  EXPECT_EQ(stalled.code, kResultTransmissionError);
  EXPECT_EQ(stalled.os_error, ETIMEDOUT) << stalled.detail;
  std::vector<char> got(block.size());
  const ssize_t taken = ::read(reader, got.data(), got.size());
  ::close(reader);
  EXPECT_GT(taken, 0);
  EXPECT_LT(taken, static_cast<ssize_t>(block.size()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(ParallelTransportTest, PortIsNotShared) {
  std::ofstream(path_).close();
  auto first = ParallelTransport::Open(port_);
  ASSERT_NE(first.value, nullptr) << first.failure.detail;
  const auto second = ParallelTransport::Open(port_);
  EXPECT_EQ(second.value, nullptr);
  EXPECT_EQ(second.failure.os_error, EBUSY);
  first.value.reset();
  EXPECT_NE(ParallelTransport::Open(port_).value, nullptr);
}

}  // namespace
}  // namespace vantrel
