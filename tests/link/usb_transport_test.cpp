// The USB road above libusb: link layer, USB transport and match rule over a fake bus.
#include "link/usb_transport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "engine/sim_printer.h"
#include "link/fake_usb_bus.h"
#include "link/link_layer.h"
#include "ops/status_control.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using testing::FakeBusOpener;
using testing::FakeUsbBus;
using testing::FakeUsbDeviceList;

constexpr const char* kPreferred = "usb#vid_369e&pid_0230#1-2";
constexpr const char* kSecondChoice = "usb#vid_6d9d&pid_0100#1-1";

class UsbTransportTest : public ::testing::Test {
 protected:
  UsbTransportTest() : bus_(std::make_shared<FakeUsbBus>()), link_(FakeBusOpener(bus_)) {
    bus_->paths = {"usb#vid_1d6b&pid_0002#1-0", kSecondChoice, kPreferred};
    LinkWaits waits;
    waits.usb_read = milliseconds(40);
    link_.SetWaits(waits);
  }

  std::shared_ptr<FakeUsbBus> bus_;
  LinkLayer link_;
};

TEST_F(UsbTransportTest, StatusQueryReachesThePreferredPrinter) {
  sim::SimPrinter printer;
  sim::SimState state;
  state.status_byte = 0x05;
  printer.SetState(state);
  bus_->printer = [&printer](std::string_view bytes) { return printer.Feed(bytes); };

  StatusFlags flags;
  EXPECT_EQ(QueryStatus(link_, kInterfaceUsb, flags), kResultOk);
  EXPECT_EQ(bus_->opened_path, kPreferred);
  EXPECT_EQ(flags.flags[0], 1);
  EXPECT_EQ(flags.flags[1], 0);
  EXPECT_EQ(flags.flags[2], 1);
  EXPECT_EQ(bus_->closes, 1);
}

TEST_F(UsbTransportTest, HundredByteReplyReadByteByByteTakesTwoDeviceReads) {
  std::string reply;
  for (int i = 0; i < 100; ++i) reply += static_cast<char>('!' + i % 90);
  bus_->printer = [&reply](std::string_view) { return reply; };
  ASSERT_TRUE(link_.OpenLink(kInterfaceUsb));
  ASSERT_TRUE(link_.WriteLink(std::string_view("?")));

  std::string got;
  std::uint8_t byte = 0;
  while (got.size() < reply.size() && link_.ReadReplyByte(byte)) got += static_cast<char>(byte);
  EXPECT_EQ(got, reply);
  EXPECT_EQ(bus_->reads, 2);
}

TEST_F(UsbTransportTest, TwoHundredBytesGoOutInChunksOf64) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceUsb));
  const std::string block(200, 'u');
  ASSERT_TRUE(link_.WriteLink(block));
  EXPECT_EQ(bus_->write_sizes, (std::vector<std::size_t>{64, 64, 64, 8}));
  EXPECT_EQ(bus_->written, block);
}

TEST_F(UsbTransportTest, SilentPrinterEndsTheReaderAfterTheReadWait) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceUsb));
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(40));
  EXPECT_EQ(bus_->last_read_wait, milliseconds(40));
  EXPECT_EQ(bus_->reads, 1);
  EXPECT_EQ(link_.LastFailure().code, kResultReceivingError);
}

TEST_F(UsbTransportTest, PrinterUnpluggedMidWriteIsATransmissionError) {
  bus_->unplug_at_write = 1;
  ASSERT_TRUE(link_.OpenLink(kInterfaceUsb));
  EXPECT_EQ(link_.SendCommandText(std::string(200, 'w')), kResultTransmissionError);
  EXPECT_EQ(bus_->written.size(), 64u);  // nothing after the failing chunk
  EXPECT_EQ(link_.LastFailure().os_error, ENODEV);
}

TEST_F(UsbTransportTest, NoMatchingPrinterSaysWhichVendorsWereSought) {
  bus_->paths = {"usb#vid_1d6b&pid_0002#1-0", "usb#vid_369E&pid_0230#1-2"};
  EXPECT_FALSE(link_.OpenLink(kInterfaceUsb));
  EXPECT_EQ(link_.LastFailure().detail, "no USB printer found (vendor 369e or 6d9d)");
}

}  // namespace
}  // namespace vantrel
