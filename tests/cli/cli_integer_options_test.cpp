// Integer options of vantrel-cli are decimal, as the window's fields are: leading zeros do not
// make octal, and the printer hears the decimal value. (Other spellings are the command line's
// own test.)
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
