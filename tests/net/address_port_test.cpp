// The one reading of a typed address and port, for the window's fields, the CLI's options and
// the hosts file.
#include "net/address_port.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(AddressPortTest, ReadsEachFormAndRefusesWithOneText) {
  const std::string neither = "\" is neither an address nor a host name";
  const struct {
    std::string text;
    std::string address;  // empty when refused
    std::optional<int> port;
    std::string error;  // the whole text when refused
  } rows[] = {
      {"10.0.0.7", "10.0.0.7", std::nullopt, ""},
      {"printer-3.example:9101", "printer-3.example", 9101, ""},
      {"localhost:1", "localhost", 1, ""},
      {"h:65535", "h", 65535, ""},
      {"h:09100", "h", 9100, ""},
      {"h:0000000000065535", "h", 65535, ""},
      {"127.000.0.1", "127.0.0.1", std::nullopt, ""},
      {"::1", "::1", std::nullopt, ""},
      {"[::1]", "::1", std::nullopt, ""},
      {"[fe80::1%eth0]:9200", "fe80::1%eth0", 9200, ""},
      {"h:0", "", std::nullopt, "Port 0 is not from 1 to 65535"},
      {"h:000", "", std::nullopt, "Port 0 is not from 1 to 65535"},
      {"h:65536", "", std::nullopt, "Port 65536 is not from 1 to 65535"},
      {"h:99999999999", "", std::nullopt, "Port 99999999999 is not from 1 to 65535"},
      {"h:", "", std::nullopt, "'' is not a valid integer value"},
      {"h:+5", "", std::nullopt, "'+5' is not a valid integer value"},
      {"h:-1", "", std::nullopt, "'-1' is not a valid integer value"},
      {"h:0x10", "", std::nullopt, "'0x10' is not a valid integer value"},
      {"h: 9100", "", std::nullopt, "' 9100' is not a valid integer value"},
      {"[::1]:9100 ", "", std::nullopt, "'9100 ' is not a valid integer value"},
      {" h", "", std::nullopt, "\" h" + neither},
      {"a b", "", std::nullopt, "\"a b" + neither},
      {"x,y", "", std::nullopt, "\"x,y" + neither},
      {std::string("ho\0st", 5), "", std::nullopt, std::string("\"ho\0st", 6) + neither},
      {"-lead", "", std::nullopt, "\"-lead" + neither},
      {"a..b", "", std::nullopt, "\"a..b" + neither},
      // The system would read these as octal or short forms of another address.
      {"1.2.3", "", std::nullopt, "\"1.2.3" + neither},
      {"256.1.1.1", "", std::nullopt, "\"256.1.1.1" + neither},
      {"a:b:c", "", std::nullopt, "\"a:b:c" + neither},
      {"[a:b:c]:9100", "", std::nullopt, "\"a:b:c" + neither},
      {"[10.0.0.7]", "", std::nullopt, "\"10.0.0.7" + neither},
      {"[fe80::1%]", "", std::nullopt, "\"fe80::1%" + neither},
      {"", "", std::nullopt, "No address is given"},
      {":9100", "", std::nullopt, "No address is given"},
      {"[]:9100", "", std::nullopt, "No address is given"},
      {std::string(64, 'a'), "", std::nullopt, "The address is longer than 63 characters"},
      {"[::1]x", "", std::nullopt, "Text after ']' that is no :PORT"},
      {"[::1", "", std::nullopt, "A '[' without its ']'"},
  };
  for (const auto& row : rows) {
    const AddressPort parsed = ParseAddressPort(row.text);
    EXPECT_EQ(parsed.error, row.error) << row.text;
    EXPECT_EQ(parsed.address, row.address) << row.text;
    EXPECT_EQ(parsed.port, row.port) << row.text;
  }
  EXPECT_EQ(ParseAddress("[::1]").address, "::1");
  EXPECT_EQ(ParseAddress("h:9100").error, "\"h:9100\" carries a port where only an address goes");
  EXPECT_EQ(ParseAddress("[::1]:x").error, "\"[::1]:x\" carries a port where only an address goes");
  EXPECT_EQ(ParseAddress("[::1").error, "A '[' without its ']'");
}

}  // namespace
}  // namespace vantrel
