// The USB checks against a fake sysfs and /dev: what each fault looks like and the fix named.
#include "doctor/usb_checks.h"

#include <gtest/gtest.h>

#include "doctor/fake_system_tree.h"
#include "doctor/usb_sysfs.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::Find;

// A user that owns nothing in the tree and is in none of its groups.
UserIdentity Stranger() {
  return {60001, "tech", {60001}, {60001}, false};
}

// Device descriptor, a configuration and one interface of the given class.
std::string Descriptors(std::uint16_t vendor, std::uint8_t interface_class) {
  std::string bytes(18, '\0');
  bytes[0] = 18;
  bytes[1] = 1;
  bytes[8] = static_cast<char>(vendor & 0xff);
  bytes[9] = static_cast<char>(vendor >> 8);
  bytes += std::string("\x09\x02\x20\x00\x01\x01\x00\x80\x32", 9);
  bytes += std::string("\x09\x04\x00\x00\x02", 5) + static_cast<char>(interface_class) +
           std::string("\x01\x02\x00", 3);
  return bytes;
}

class UsbChecksTest : public ::testing::Test {
 protected:
  void AddDevice(std::uint16_t vendor, std::uint8_t interface_class = 7) {
    const std::string dir = "sys/bus/usb/devices/1-2/";
    tree_.Write(dir + "devnum", "2\n");
    tree_.Write(dir + "bConfigurationValue", "1\n");
    tree_.Write(dir + "descriptors", Descriptors(vendor, interface_class));
    node_ = tree_.Write("dev/bus/usb/001/002", "", fs::perms::owner_read | fs::perms::owner_write);
  }
  void BindUsblp() {
    const std::string interface = "sys/bus/usb/devices/1-2/1-2:1.0/";
    tree_.Link(interface + "driver", "../../../../bus/usb/drivers/usblp");
    tree_.Write(interface + "usbmisc/lp0/dev", "180:0\n");
  }
  DoctorReport Run() {
    DoctorRequest request;
    request.roots = tree_.Roots();
    request.user = Stranger();
    return CheckUsb(request);
  }

  testing::FakeSystemTree tree_;
  std::string node_;
};

TEST_F(UsbChecksTest, RootOwnedNodeWithoutRuleAndBoundDriverNamesTheRule) {
  AddDevice(0x369e);
  BindUsblp();
  const DoctorReport report = Run();
  EXPECT_TRUE(Find(report, "printer").ok);
  EXPECT_EQ(Find(report, "printer").detail, "usb#vid_369e&pid_0000#1-2 at " + node_);
  const DoctorCheck rule = Find(report, "udev rule");
  EXPECT_FALSE(rule.ok);
  EXPECT_NE(rule.fix.find("udevadm control --reload-rules"), std::string::npos);
  const DoctorCheck access = Find(report, "access");
  EXPECT_FALSE(access.ok);
  EXPECT_EQ(access.fix, rule.fix);
  const DoctorCheck driver = Find(report, "kernel driver");
  EXPECT_FALSE(driver.ok);
  EXPECT_NE(driver.detail.find("usblp holds the printer interface (as " + tree_.Path("dev") +
                               "/usb/lp0)"),
            std::string::npos);
  EXPECT_TRUE(Find(report, "in use").ok);
}

TEST_F(UsbChecksTest, AccessibleNodeWithRuleIsFineAndUsblpIsSetAside) {
  AddDevice(0x369e);
  BindUsblp();
  fs::permissions(node_, fs::perms::all);
  tree_.Write("etc/udev/rules.d/60-vantrel-printers.rules", "");
  const DoctorReport report = Run();
  for (const DoctorCheck& check : report) EXPECT_TRUE(check.ok) << check.check << check.detail;
  EXPECT_NE(Find(report, "kernel driver").detail.find("sets it aside"), std::string::npos);
}

TEST_F(UsbChecksTest, DeviceHeldByAnotherProgramNamesIt) {
  AddDevice(0x369e);
  fs::permissions(node_, fs::perms::all);
  tree_.Write("proc/4242/comm", "cupsd\n");
  tree_.Link("proc/4242/fd/7", node_);
  const DoctorCheck held = Find(Run(), "in use");
  EXPECT_FALSE(held.ok);
  EXPECT_EQ(held.detail, node_ + " is held by cupsd (pid 4242)");
  EXPECT_EQ(held.fix, "close cupsd, or stop it: kill 4242");
}

TEST_F(UsbChecksTest, NoPrinterOrForeignPrinterStopsAfterPresence) {
  AddDevice(0x369e, 0xff);
  DoctorReport report = Run();
  EXPECT_EQ(report.size(), 2u);
  EXPECT_EQ(Find(report, "printer").detail, "no USB printer-class device is connected");

  tree_.Write("sys/bus/usb/devices/1-2/descriptors", Descriptors(0x04b8, 7));
  report = Run();
  EXPECT_FALSE(Find(report, "printer").ok);
  EXPECT_NE(Find(report, "printer").detail.find("not of vendor 369e or 6d9d"), std::string::npos);
}

TEST(PrinterInterfaceNumbers, ReadsClassSevenOnceAndStopsAtMalformedLengths) {
  const std::string interface = std::string("\x09\x04\x01\x00\x02\x07\x01\x02\x00", 9);
  const std::string alternate = std::string("\x09\x04\x01\x01\x02\x07\x01\x03\x00", 9);
  auto numbers = [](const std::string& bytes) {
    return PrinterInterfaceNumbers(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  };
  EXPECT_EQ(numbers(interface + alternate), std::vector<int>{1});
  // A zero length would loop forever, a length past the end would read beyond the file.
  EXPECT_TRUE(numbers(std::string("\x00\x04", 2) + interface).empty());
  EXPECT_TRUE(numbers(interface.substr(0, 8)).empty());
  EXPECT_TRUE(numbers(std::string("\x02\x01", 2) + std::string("\x09\x04\x02", 3)).empty());
}

}  // namespace
}  // namespace vantrel
