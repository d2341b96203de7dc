// Address and MAC texts, the checks that keep a bad value from being sent, and the target entry.
#include <gtest/gtest.h>

#include "net/ipv4_text.h"
#include "net/mac_text.h"
#include "net/net_settings.h"
#include "net/network_target_entry.h"

namespace vantrel {
namespace {

constexpr Ipv4Bytes kInvalid = {0xFF, 0xFF, 0xFF, 0xFF};

TEST(Ipv4TextTest, FormatsWithoutLeadingZeros) {
  EXPECT_EQ(FormatIPv4({0xC0, 0xA8, 0x01, 0x64}), "192.168.1.100");
  EXPECT_EQ(FormatIPv4({0xC6, 0x33, 0x64, 0x05}), "198.51.100.5");
}

TEST(Ipv4TextTest, ParsesAsSpecifiedAndFlagsWhatIsInvalid) {
  EXPECT_EQ(ParseIPv4("198.051.100.010"), (Ipv4Bytes{0xC6, 0x33, 0x64, 0x0A}));
  EXPECT_EQ(ParseIPv4("1.2.3.4 "), (Ipv4Bytes{1, 2, 3, 4}));
  EXPECT_EQ(ParseIPv4("1.2.3.4x9"), (Ipv4Bytes{1, 2, 3, 4}));
  EXPECT_EQ(ParseIPv4("0000000255.0.0.0"), (Ipv4Bytes{255, 0, 0, 0}));
  for (const char* invalid : {"1.2.3", "1.2.3.4.", "256.1.1.1", "a.b.c.d", "", " 1.2.3.4", "1..2.3",
                              "1.2.3.-4", "1.2.3.256", "1,2,3,4", "99999999999.1.1.1"}) {
    EXPECT_FALSE(TryParseIPv4(invalid)) << invalid;
    EXPECT_EQ(ParseIPv4(invalid), kInvalid) << invalid;
  }
  // The valid all-ones address reads the same as an invalid text; TryParseIPv4 tells them apart.
  EXPECT_EQ(TryParseIPv4("255.255.255.255"), kInvalid);
}

TEST(Ipv4TextTest, CompleteTextHasNothingAfterTheFourthNumber) {
  EXPECT_TRUE(IsCompleteIPv4Text("198.51.100.5"));
  EXPECT_TRUE(IsCompleteIPv4Text("010.000.000.005"));
  EXPECT_FALSE(IsCompleteIPv4Text("198.51.100.5 "));
  EXPECT_FALSE(IsCompleteIPv4Text("198.51.100.5/24"));
  EXPECT_FALSE(IsCompleteIPv4Text("10.0.0"));
}

TEST(MacTextTest, FormatsAndParsesExactlySixColonSeparatedBytes) {
  EXPECT_EQ(FormatMacText({0x02, 0x11, 0x22, 0x33, 0x44, 0x5A}), "02:11:22:33:44:5A");
  EXPECT_EQ(ParseMacText("02:11:22:33:44:5a"), (MacAddress{0x02, 0x11, 0x22, 0x33, 0x44, 0x5A}));
  for (const char* invalid :
       {"02:11:22:33:44", "02:11:22:33:44:5A:", "2:11:22:33:44:5A", "02:11:22:33:44:5G",
        "02-11-22-33-44-5A", "02:11:22:33:44:5A0", "021:1:22:33:44:5A", ""}) {
    EXPECT_FALSE(ParseMacText(invalid)) << invalid;
  }
}

TEST(NetSettingsChecksTest, FieldTextsMustFitAndStayInsideTheirQuotes) {
  EXPECT_EQ(FieldTextRefusal("The name", "Front desk 2"), "");
  EXPECT_EQ(FieldTextRefusal("The name", std::string(63, 'n')), "");
  EXPECT_EQ(FieldTextRefusal("The name", std::string(64, 'n')), "The name is longer than 63 bytes");
  for (const char* unsafe : {"a\"b", "a\r\nNET DHCP", "tab\there", "del\x7f"}) {
    EXPECT_EQ(FieldTextRefusal("The name", unsafe),
              "The name must not contain a double quote or a control character")
        << unsafe;
  }
}

TEST(NetSettingsChecksTest, AddressesMustBeCompleteDottedQuads) {
  NetSettings settings;
  settings.IpAddress = "198.51.100.5";
  settings.SubnetMask = "255.0.0.0";
  settings.Gateway = "198.51.100.1";
  EXPECT_EQ(AddressTextsRefusal(settings), "");
  settings.Gateway = "198.51.100.256";
  EXPECT_EQ(AddressTextsRefusal(settings),
            "Gateway \"198.51.100.256\" is not a valid IPv4 address");
  settings.Gateway = "198.51.100.1";
  settings.SubnetMask = "";
  EXPECT_EQ(AddressTextsRefusal(settings), "Subnet mask \"\" is not a valid IPv4 address");
}

TEST(NetworkTargetEntryTest, OpeningFillsOnlyAnEmptyAddress) {
  NetworkTarget target;
  ApplyOpeningTarget(target, {});
  EXPECT_EQ(target.address, "192.168.1.100");

  const std::vector<DeviceListRow> rows = {{"A", "02:00:00:00:00:01", "127.0.0.7", "M", "Ready"},
                                           {"B", "02:00:00:00:00:02", "127.0.0.8", "M", "Ready"}};
  target.address.clear();
  ApplyOpeningTarget(target, rows);
  EXPECT_EQ(target.address, "127.0.0.7");

  target.address = "printer.local";
  ApplyOpeningTarget(target, rows);
  EXPECT_EQ(target.address, "printer.local");
}

TEST(NetworkTargetEntryTest, StoresBothFieldsOrNeither) {
  NetworkTarget target{"old", 9100};
  EXPECT_EQ(StoreTargetEntry(target, "127.0.0.9", "9101"), "");
  EXPECT_EQ(target.address, "127.0.0.9");
  EXPECT_EQ(target.port, 9101);

  EXPECT_EQ(StoreTargetEntry(target, "new", "91x"), "'91x' is not a valid integer value");
  EXPECT_EQ(StoreTargetEntry(target, "new", ""), "'' is not a valid integer value");
  EXPECT_EQ(StoreTargetEntry(target, "new", "70000"), "Port 70000 is not from 1 to 65535");
  EXPECT_EQ(StoreTargetEntry(target, "new:9100", "9100"),
            "\"new:9100\" carries a port where only an address goes");
  EXPECT_EQ(StoreTargetEntry(target, "", "9100"), "No address is given");
  EXPECT_EQ(target.address, "127.0.0.9");
  EXPECT_EQ(target.port, 9101);
}

}  // namespace
}  // namespace vantrel
