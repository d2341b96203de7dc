// The fleet's hosts file: what a line may be, and one printer however it is spelled; the
// printers a retry takes from a report.
#include "cli/fleet/fleet_targets.h"

#include <gtest/gtest.h>

#include <span>

#include "cli/fleet/fleet_report.h"

namespace vantrel::cli {
namespace {

std::vector<std::string> Texts(const std::vector<FleetTarget>& targets) {
  std::vector<std::string> texts;
  for (const FleetTarget& target : targets) texts.push_back(target.text);
  return texts;
}

struct ParseRow {
  std::string text;
  std::vector<std::string> targets;
  std::string refusal;  // part of it; empty when accepted
};

void ExpectParsed(std::string (*parse)(std::string_view, std::vector<FleetTarget>&),
                  std::span<const ParseRow> rows) {
  for (const ParseRow& row : rows) {
    std::vector<FleetTarget> targets;
    const std::string refusal = parse(row.text, targets);
    if (row.refusal.empty()) {
      EXPECT_EQ(refusal, "") << row.text;
      EXPECT_EQ(Texts(targets), row.targets) << row.text;
    } else {
      EXPECT_NE(refusal.find(row.refusal), std::string::npos) << row.text << ": " << refusal;
    }
  }
}

TEST(HostsFileTest, EachLineIsAnAddressAHostNameOrRefusedWithItsNumber) {
  const ParseRow rows[] = {
      {"\xEF\xBB\xBF"
       "10.0.0.7\r\n",
       {"10.0.0.7:9100"},
       ""},
      {"# dock\n\nprinter-3.example:9101   # left\n127.000.0.1\n",
       {"printer-3.example:9101", "127.0.0.1:9100"},
       ""},
      {"::1\n[fe80::1%eth0]:9200\n[::1]\n",
       {"[::1]:9100", "[fe80::1%eth0]:9200", "[::1]:9100"},
       ""},
      // The address's own rules are the core's; here, which line and how it is shown.
      {"ok\nx,y\n", {}, "hosts file line 2: \"x,y\" is neither an address nor a host name"},
      {std::string("ho\0st\n", 6), {}, "line 1: \"ho\\x00st\" is neither"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFhost\n", {}, "line 1"},
      {"\n\nhost:65536\n", {}, "line 3: Port 65536"},
  };
  ExpectParsed(ParseHostsText, rows);
}

// Overrides follow the address; each is checked when the file is read, by its line.
TEST(HostsFileTest, OverridesAreFullKeysOrRefusedWithTheirLine) {
  const struct {
    std::string line;
    std::vector<std::string> overrides;
    std::string refusal;  // part of it; empty when accepted
  } rows[] = {
      {"10.0.0.7", {}, ""},
      {"10.0.0.7:9101\tCommon.Speed=3  Darkness=20", {"Common.Speed=3", "Z.Darkness=20"}, ""},
      {"[::1]:9100 PrintMode=PEEL  OFF Ribbon=", {"Z.PrintMode=PEEL OFF", "Common.Ribbon="}, ""},
      {"host PrintSpeed=3", {}, "PrintSpeed is on more than one page: write Z.PrintSpeed or"},
      {"host Name=Dock-3", {}, "\"Name\": no item has this key"},
      {"host Speed", {}, "Speed is no override (KEY=VALUE)"},
      {"host Darkness=31", {}, "Z.Darkness: must be from 0 to 30"},
      {"host Common.DensityBase=3", {}, "Common.DensityBase: the printer reports"},
  };
  for (const auto& row : rows) {
    std::vector<FleetTarget> targets;
    const std::string refusal = ParseHostsText("# first\n" + row.line + "\n", targets);
    if (row.refusal.empty()) {
      EXPECT_EQ(refusal, "") << row.line;
      ASSERT_EQ(targets.size(), 1u) << row.line;
      EXPECT_EQ(targets[0].overrides, row.overrides) << row.line;
    } else {
      EXPECT_NE(refusal.find("hosts file line 2: " + row.refusal), std::string::npos)
          << row.line << ": " << refusal;
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

// A retry takes the failed and unreachable printers of a report with their names and overrides,
// and refuses a file that is not a report, naming the line.
TEST(RetryReportTest, TakesTheFailedAndUnreachableLinesOnly) {
  FleetResult failed;
  failed.target = "10.0.0.7:9100";
  failed.name = "Dock 3";
  failed.overrides = {"Common.Speed=3", "Z.PrintMode=TEAR OFF"};
  const std::string line = FleetResultLine(failed);
  const ParseRow rows[] = {
      {line + "\n" + R"({"target":"[::1]:9101","name":"","outcome":"unreachable"})" + "\r\n\n" +
           R"({"target":"10.0.0.8:9100","name":"x","outcome":"verified"})" + "\n" +
           R"({"summary":{"total":3,"failed":1}})" + "\n",
       {"10.0.0.7:9100", "[::1]:9101"},
       ""},
      {line + "\n" + line.substr(0, 30) + "\n", {}, "line 2: not a JSON object"},
      {"vantrel-cli fleet status\n", {}, "line 1: not a JSON object"},
      {"[1]\n", {}, "line 1: not a JSON object"},
      {R"({"target":"a:1","outcome":"lost"})", {}, "line 1: no outcome is named \"lost\""},
      {R"({"name":"a","outcome":"failed"})", {}, "line 1: no \"target\""},
      {R"({"target":"a:99999","outcome":"failed"})", {}, "line 1: Port 99999"},
      {R"({"target":"a:1","outcome":"failed","overrides":"Speed=3"})", {}, "line 1: \"overrides\""},
      {R"({"target":"a:1","outcome":"failed","overrides":["Z.Darkness=31"]})",
       {},
       "line 1: Z.Darkness: must be"},
  };
  ExpectParsed(ParseRetryText, rows);
  std::vector<FleetTarget> kept;
  ASSERT_EQ(ParseRetryText(line, kept), "");
  EXPECT_EQ(kept.at(0).name, failed.name);
  EXPECT_EQ(kept.at(0).overrides, failed.overrides);
}

}  // namespace
}  // namespace vantrel::cli
