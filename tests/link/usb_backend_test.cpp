// The libusb backend against printers emulated under umockdev: listing, claiming (with the
// kernel's printer driver set aside and given back), bulk transfers, time-outs and unplugging.
#include <gtest/gtest.h>
#include <umockdev.h>

#include <cerrno>
#include <chrono>

#include "engine/sim_printer.h"
#include "link/cancel_during.h"
#include "link/emulated_usb_printer.h"
#include "link/link_layer.h"
#include "link/usb_device_list.h"
#include "link/usb_printer_match.h"
#include "ops/status_control.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using testing::EmulatedUsbOptions;
using testing::EmulatedUsbPrinter;

constexpr milliseconds kWriteWait{3000};

constexpr const char* kPrinterPath = "usb#vid_369e&pid_0230#1-2";

class UsbBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testbed_ = umockdev_testbed_new();
    // Outside the emulation libusb would reach this machine's real devices.
    ASSERT_TRUE(umockdev_in_mock_environment()) << "run under umockdev-wrapper";
  }
  void TearDown() override {
    printers_.clear();
    if (testbed_ != nullptr) g_object_unref(testbed_);
  }

  EmulatedUsbPrinter& AddPrinter(EmulatedUsbOptions options = {}) {
    printers_.push_back(std::make_unique<EmulatedUsbPrinter>(testbed_, options));
    return *printers_.back();
  }

  std::unique_ptr<UsbDeviceList> OpenList() {
    Outcome<std::unique_ptr<UsbDeviceList>> devices = OpenSystemUsbDeviceList();
    EXPECT_NE(devices.value, nullptr) << devices.failure.detail;
    return std::move(devices.value);
  }

  std::unique_ptr<UsbDevice> OpenPrinter(const std::string& path = kPrinterPath) {
    devices_ = OpenList();
    if (devices_ == nullptr) return nullptr;
    auto device = devices_->Open(path);
    EXPECT_NE(device.value, nullptr) << device.failure.detail;
    return std::move(device.value);
  }

  static std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
  }

  UMockdevTestbed* testbed_ = nullptr;
  std::vector<std::unique_ptr<EmulatedUsbPrinter>> printers_;
  std::unique_ptr<UsbDeviceList> devices_;
};

TEST_F(UsbBackendTest, ListsDevicePathsThatTheMatchRuleReads) {
  AddPrinter({.sysfs_name = "2-5", .bus = 2, .address = 7, .vendor = 0x6d9d, .product = 0x0a10});
  AddPrinter();
  auto devices = OpenList();
  ASSERT_NE(devices, nullptr);
  std::vector<std::string> paths = devices->ListDevicePaths();
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{kPrinterPath, "usb#vid_6d9d&pid_0a10#2-5"}));
  EXPECT_EQ(paths[FindUsbPrinter(paths).value()], kPrinterPath);
}

TEST_F(UsbBackendTest, KernelDriverIsSetAsideWhileOpenAndGivenBackAtClose) {
  EmulatedUsbPrinter& printer = AddPrinter();
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(printer.log().driver_bound);
  EXPECT_EQ(printer.log().claims, 1);

  device.reset();
  const auto log = printer.log();
  EXPECT_TRUE(log.driver_bound);
  EXPECT_EQ(log.detaches, 1);
  EXPECT_EQ(log.attaches, 1);
  EXPECT_EQ(log.releases, 1);
}

TEST_F(UsbBackendTest, PrinterHeldByAnotherProgramIsReportedAndItsDriverGivenBack) {
  EmulatedUsbPrinter& printer = AddPrinter({.claim_error = EBUSY});
  auto devices = OpenList();
  ASSERT_NE(devices, nullptr);
  const Outcome<std::unique_ptr<UsbDevice>> opened = devices->Open(kPrinterPath);
  EXPECT_EQ(opened.value, nullptr);
  EXPECT_EQ(opened.failure.code, kResultPortOpenError);
  EXPECT_EQ(opened.failure.os_error, EBUSY);
  EXPECT_NE(opened.failure.detail.find("in use by another program"), std::string::npos);
  EXPECT_TRUE(printer.log().driver_bound);
}

// A high-speed printer sends packets of up to 512 bytes: each read must ask for a whole
// packet, and what the caller has no room for is handed out by the next read.
TEST_F(UsbBackendTest, ReadsTakeWholePacketsAndKeepWhatDoesNotFit) {
  EmulatedUsbPrinter& printer = AddPrinter({.in_packet_size = 512});
  const std::string reply(100, 'r');
  printer.SetAnswer([&reply](std::string_view) { return reply; });
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  const std::string command(200, 'c');
  ASSERT_TRUE(device->Write(Bytes(command), kWriteWait).ok());

  std::array<std::uint8_t, 64> into{};
  EXPECT_EQ(device->Read(into, milliseconds(500)).count, 64u);
  EXPECT_EQ(device->Read(into, milliseconds(500)).count, 36u);
  const auto log = printer.log();
  EXPECT_EQ(log.received, command);
  EXPECT_EQ(log.in_request_sizes, std::vector<int>{512});
}

TEST_F(UsbBackendTest, SilentPrinterEndsTheReadAfterTheWaitWithTheTransferCancelled) {
  EmulatedUsbPrinter& printer = AddPrinter();
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  std::array<std::uint8_t, 64> into{};
  const auto start = std::chrono::steady_clock::now();
  const Received received = device->Read(into, milliseconds(100));
  EXPECT_EQ(received.count, 0u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(100));
  EXPECT_EQ(received.failure.code, kResultReceivingError);
  EXPECT_EQ(received.failure.os_error, ETIMEDOUT);
  EXPECT_EQ(printer.log().discards, 1);
}

// USB has no orderly end: a printer pulled out is a lost link, for writes and reads alike.
TEST_F(UsbBackendTest, UnpluggedPrinterFailsTheWriteAndLosesTheLink) {
  EmulatedUsbPrinter& printer = AddPrinter();
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  printer.Unplug();
  const LinkFailure failure = device->Write(Bytes("SELFTEST\r\n"), kWriteWait);
  EXPECT_EQ(failure.code, kResultTransmissionError);
  EXPECT_EQ(failure.os_error, ENODEV) << failure.detail;
  std::array<std::uint8_t, 64> into{};
  EXPECT_EQ(device->Read(into, milliseconds(100)).end, StreamEnd::kLost);
}

TEST_F(UsbBackendTest, StalledPrinterFailsTheWriteAfterItsWait) {
  EmulatedUsbPrinter& printer = AddPrinter();
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  printer.StallWrites();
  const LinkFailure failure = device->Write(Bytes("SELFTEST\r\n"), milliseconds(100));
  EXPECT_EQ(failure.code, kResultTransmissionError);
  EXPECT_EQ(failure.os_error, ETIMEDOUT) << failure.detail;
  EXPECT_EQ(printer.log().discards, 1);
}

// Recognised by vendor alone: bulk endpoints on a vendor-specific interface serve as well.
TEST_F(UsbBackendTest, VendorSpecificInterfaceWithBulkEndpointsIsUsed) {
  EmulatedUsbPrinter& printer = AddPrinter({.printer_class = false});
  auto device = OpenPrinter();
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->Write(Bytes("SELFTEST\r\n"), kWriteWait).ok());
  device.reset();
  EXPECT_EQ(printer.log().received, "SELFTEST\r\n");
}

// A printer that takes no data or never answers: a cancel from another thread ends the 30 s
// wait, through the link as the window's Cancel does.
TEST_F(UsbBackendTest, CancelEndsAWriteOrAReadLongBeforeItsWait) {
  EmulatedUsbPrinter& printer = AddPrinter();
  printer.StallWrites();
  LinkLayer link;
  LinkWaits waits;
  waits.usb_read = std::chrono::seconds(30);
  waits.usb_write = std::chrono::seconds(30);
  link.SetWaits(waits);
  for (const bool writing : {true, false}) {
    SCOPED_TRACE(writing ? "write to a stalled printer" : "read of a silent printer");
    link.ResetCancel();
    ASSERT_TRUE(link.OpenLink(kInterfaceUsb)) << link.LastFailure().detail;
    const auto took = testing::CancelDuring(link, [&] {
      std::uint8_t byte = 0;
      EXPECT_FALSE(writing ? link.WriteLink(std::string_view("SELFTEST\r\n"))
                           : link.ReadReplyByte(byte));
    });
    EXPECT_LT(took, std::chrono::seconds(20));
    EXPECT_EQ(link.LastFailure().code, writing ? kResultTransmissionError : kResultReceivingError);
    EXPECT_EQ(link.LastFailure().os_error, ECANCELED) << link.LastFailure().detail;
    link.CloseLink();
  }
}

TEST_F(UsbBackendTest, StatusQueryThroughTheSystemOpener) {
  EmulatedUsbPrinter& printer = AddPrinter();
  sim::SimPrinter simulated;
  sim::SimState state;
  state.status_byte = 0x21;
  simulated.SetState(state);
  printer.SetAnswer([&simulated](std::string_view bytes) { return simulated.Feed(bytes); });

  LinkLayer link;
  StatusFlags flags;
  ASSERT_EQ(QueryStatus(link, kInterfaceUsb, flags), kResultOk) << link.LastFailure().detail;
  EXPECT_EQ(flags.flags[0], 1);
  EXPECT_EQ(flags.flags[5], 1);
  EXPECT_EQ(flags.flags[1], 0);
  EXPECT_TRUE(printer.log().driver_bound);
}

}  // namespace
}  // namespace vantrel
