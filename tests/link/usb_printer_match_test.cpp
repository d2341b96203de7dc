#include "link/usb_printer_match.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace vantrel {
namespace {

std::optional<std::size_t> Find(std::vector<std::string> paths) {
  return FindUsbPrinter(paths);
}

TEST(UsbPrinterMatchTest, PreferredVendorWinsWhateverTheEnumerationOrder) {
  EXPECT_EQ(
      Find({"usb#vid_046d&pid_c52b#1-1", "usb#vid_6d9d&pid_0001#1-2", "usb#vid_369e&pid_0230#1-3"}),
      2u);
  EXPECT_EQ(Find({"usb#vid_6d9d&pid_0001#1-2"}), 0u);
}

TEST(UsbPrinterMatchTest, FirstOfEqualVendorsIsChosen) {
  EXPECT_EQ(
      Find({"usb#vid_0bda&pid_0129#2-1", "usb#vid_369e&pid_0230#3-1", "usb#vid_369e&pid_0230#1-1"}),
      1u);
}

TEST(UsbPrinterMatchTest, OnlyTheExactLowerCaseVendorAfterTheFirstVidMatches) {
  EXPECT_FALSE(Find({"usb#vid_6D9D&pid_0001#1-2"}));  // upper-case vendor text
  EXPECT_FALSE(Find({"usb#VID_369e&pid_0230#1-2"}));  // "vid" must be lower case
  EXPECT_FALSE(Find({"usb#device_369e#1-2"}));        // no "vid" at all
  EXPECT_FALSE(Find({"usb#vid_369"}));                // cut short after "vid"
  EXPECT_FALSE(Find({"usb#vid_"}));
  EXPECT_FALSE(Find({"usb#vid_0001&x_vid_369e#1-1"}));  // only the first "vid" counts
  EXPECT_FALSE(Find({""}));
  EXPECT_TRUE(UsbPathMatchesVendor("vid:369e", "369e"));  // any separator
}

TEST(UsbPrinterMatchTest, DevicePathCarriesLowerCaseIdsAndThePortChain) {
  const std::array<std::uint8_t, 2> ports = {1, 12};
  const std::string path = FormatUsbDevicePath(0x6D9D, 0x0A3F, 3, ports);
  EXPECT_EQ(path, "usb#vid_6d9d&pid_0a3f#3-1.12");
  EXPECT_TRUE(UsbPathMatchesVendor(path, "6d9d"));
}

}  // namespace
}  // namespace vantrel
