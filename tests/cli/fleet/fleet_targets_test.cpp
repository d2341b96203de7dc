// The fleet's hosts file: what a line may be, and one printer however it is spelled.
#include "cli/fleet/fleet_targets.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

std::vector<std::string> Texts(const std::vector<FleetTarget>& targets) {
  std::vector<std::string> texts;
  for (const FleetTarget& target : targets) texts.push_back(target.text);
  return texts;
}

TEST(HostsFileTest, EachLineIsAnAddressAHostNameOrRefusedWithItsNumber) {
  const struct {
    std::string text;
    std::vector<std::string> targets;
    std::string refusal;  // part of it; empty when accepted
  } rows[] = {
      {"\xEF\xBB\xBF"
       "10.0.0.7\r\n",
       {"10.0.0.7:9100"},
       ""},
      {"# dock\n\nprinter-3.example:9101   # left\n127.000.0.1\n",
       {"printer-3.example:9101", "127.000.0.1:9100"},
       ""},
      {"::1\n[fe80::1%eth0]:9200\n[::1]\n",
       {"[::1]:9100", "[fe80::1%eth0]:9200", "[::1]:9100"},
       ""},
      {"ok\nx,y\n", {}, "line 2: \"x,y\" is neither an address nor a host name"},
      {"a:b:c\n", {}, "line 1: \"a:b:c\" is neither"},
      {"[a:b:c]:9100\n", {}, "line 1: \"a:b:c\" is neither"},
      {std::string("ho\0st\n", 6), {}, "line 1: \"ho\\x00st\" is neither"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFhost\n", {}, "line 1"},
      {"-lead\n", {}, "line 1"},
      {"a..b\n", {}, "line 1"},
      {std::string(64, 'a') + "\n", {}, "line 1: an address over 63 characters"},
      {"host:0\n", {}, "line 1: a port that is not 1..65535"},
      {"\n\nhost:65536\n", {}, "line 3: a port"},
      {"[::1]x\n", {}, "line 1: text after ']'"},
      {"[::1\n", {}, "line 1: a '[' without its ']'"},
      {":9100\n", {}, "line 1: no address"},
  };
  for (const auto& row : rows) {
    std::vector<FleetTarget> targets;
    const std::string refusal = ParseHostsText(row.text, targets);
    if (row.refusal.empty()) {
      EXPECT_EQ(refusal, "") << row.text;
      EXPECT_EQ(Texts(targets), row.targets) << row.text;
    } else {
      EXPECT_NE(refusal.find(row.refusal), std::string::npos) << row.text << ": " << refusal;
    }
  }
}

// One printer reached by several spellings is worked on once, under the first spelling; the
// address found once is the one every connection goes to.
TEST(HostsFileTest, OnePrinterSpelledThreeWaysIsOneTarget) {
  std::vector<FleetTarget> targets;
  ASSERT_EQ(ParseHostsText("localhost:9300\n127.000.0.1:9300\n127.0.0.1:9300\n127.0.0.1:9301\n"
                           "[::1]:9300\n",
                           targets),
            "");
  ResolveTargets(targets);
  ASSERT_EQ(Texts(targets),
            (std::vector<std::string>{"localhost:9300", "127.0.0.1:9301", "[::1]:9300"}));
  EXPECT_EQ(targets[0].network.address, "127.0.0.1");
  EXPECT_EQ(targets[0].network.port, 9300);
  for (const FleetTarget& target : targets) EXPECT_TRUE(target.unresolved.ok()) << target.text;
}

}  // namespace
}  // namespace vantrel::cli
