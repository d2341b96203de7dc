// Integer options of vantrel-cli are decimal, as the window's fields are: leading zeros do not
// make octal, and hexadecimal or other spellings are usage errors that reach no printer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::CliRun;

class CliIntegerOptionsTest : public testing::SimFixture {
 protected:
  std::string AtSim() const {
    return " -i net --host 127.0.0.1 --port " + std::to_string(target_.port);
  }

  static std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "/cli_integer_" + std::to_string(::getpid()) + name;
  }

  bool Received(const std::string& command) const {
    const std::vector<std::string> commands = printer_.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
  }
};

TEST_F(CliIntegerOptionsTest, EveryIntegerOptionRefusesOtherSpellings) {
  const std::string font =
      "font make --font 'DejaVu Sans' --size 9 --encode standard --out " + TempPath(".bmf ");
  const std::string load = "files load A --out " + TempPath(".bin");
  const std::string calibrate = "calibrate --media gap ";
  const std::string udp = " --broadcast 127.0.0.1 --multicast none";
  // Each value is in the option's range when read as hexadecimal.
  const struct {
    const char* label;
    std::string args;
  } cases[] = {
      {"--baud", "probe --baud 0x2580"},
      {"--data-bits", "probe --data-bits 0x8"},
      {"--udp-port of discover", "discover --udp-port 0x5760" + udp},
      {"--udp-port of udp",
       "udp factory-default 00:11:22:33:44:55 --udp-port 0x5760 --broadcast 127.0.0.1"},
      {"--max", load + " --max 0x41"},
      {"--wait", load + " --wait 0x41"},
      {"--timeout", "doctor --timeout 0x3e8"},
      {"--dpi", font + "--dpi 0x60"},
      {"--first", font + "--first 0x20"},
      {"--last", font + "--last 0x7e"},
      {"--width", font + "--width 0x10 --height 16 --italic-width 4"},
      {"--height", font + "--width 16 --height 0x10 --italic-width 4"},
      {"--italic-width", font + "--width 16 --height 16 --italic-width 0x4"},
      {"--dots-per-unit", calibrate + "--height 1 --gap 1 --dots-per-unit 0xcb"},
      {"--reference", calibrate + "--manual --reference 0x200"},
      {"--intensity", calibrate + "--manual --intensity 0x2"},
      {"exponent", calibrate + "--manual --reference 5e2"},
      {"two signs", calibrate + "--manual --reference +-5"},
      {"plus sign", calibrate + "--manual --reference +5"},
      {"blank", calibrate + "--manual --reference ' 5'"},
      {"minus on a count", load + " --max -0"},
  };
  for (const auto& c : cases) {
    const CliRun run = testing::RunCli(c.args + AtSim());
    EXPECT_EQ(run.status, 64) << c.label << ": " << run.err;
    EXPECT_NE(run.err.find("decimal"), std::string::npos) << c.label << ": " << run.err;
  }
  EXPECT_EQ(server_.ConnectionCount(), 0u);
}

TEST_F(CliIntegerOptionsTest, LeadingZerosAreDecimal) {
  const std::string calibrate = "calibrate --media gap ";
  EXPECT_EQ(
      testing::RunCli(calibrate + "--manual --reference 0512 --intensity 010" + AtSim()).status, 0);
  EXPECT_EQ(
      testing::RunCli(calibrate + "--height 1 --gap 01 --dots-per-unit 0203" + AtSim()).status, 0);
  ReceivedAfter(2);
  EXPECT_TRUE(Received("SET GAP 10,512"));
  EXPECT_TRUE(Received("GAPDETECT 203,203"));

  const CliRun font = testing::RunCli(
      "font make --font 'DejaVu Sans' --size 9 --encode standard --first 032 --last 00127 "
      "--report --json --out " +
      TempPath(".bmf"));
  ASSERT_EQ(font.status, 0) << font.err;
  EXPECT_EQ(nlohmann::json::parse(font.out)["glyphs"], 96);
}

}  // namespace
}  // namespace vantrel
