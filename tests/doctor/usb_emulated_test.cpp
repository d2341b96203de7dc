// The USB sysfs reading against a printer emulated by umockdev, where sysfs and the usbfs node
// are the testbed's: the same tree libusb sees.
#include <gtest/gtest.h>
#include <umockdev.h>

#include "doctor/usb_sysfs.h"
#include "link/emulated_usb_printer.h"

namespace vantrel {
namespace {

class UsbEmulatedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testbed_ = umockdev_testbed_new();
    // Outside the emulation this would read the machine's real sysfs.
    ASSERT_TRUE(umockdev_in_mock_environment()) << "run under umockdev-wrapper";
  }
  void TearDown() override { g_object_unref(testbed_); }

  UMockdevTestbed* testbed_ = nullptr;
};

TEST_F(UsbEmulatedTest, FindsThePrinterItsNodeAndTheDriverBoundToIt) {
  testing::EmulatedUsbPrinter printer(testbed_, {});
  testing::EmulatedUsbPrinter other(
      testbed_, {.sysfs_name = "1-3", .address = 3, .vendor = 0x1234, .printer_class = false});
  // usblp on the printer interface, with the node it made.
  GError* error = nullptr;
  ASSERT_TRUE(umockdev_testbed_add_from_string(
      testbed_,
      "P: /devices/usb1/1-2/1-2:1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
      "L: driver=../../../bus/usb/drivers/usblp\n",
      &error))
      << error->message;
  ASSERT_TRUE(umockdev_testbed_add_from_string(
      testbed_, "P: /devices/usb1/1-2/1-2:1.0/usbmisc/lp0\nN: usb/lp0\nE: SUBSYSTEM=usbmisc\n",
      &error))
      << error->message;

  const std::vector<UsbSysfsPrinter> printers = ListUsbPrinters("/sys", "/dev");
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].path_text, "usb#vid_369e&pid_0230#1-2");
  EXPECT_EQ(printers[0].node, "/dev/bus/usb/001/002");
  EXPECT_EQ(printers[0].driver, "usblp");
  EXPECT_EQ(printers[0].lp_node, "/dev/usb/lp0");
}

}  // namespace
}  // namespace vantrel
