// vantrel-cli's command line as a script types it: what it refuses as a usage error (exit 64,
// before any printer or file is touched), parsed by the program's own description.
#include "cli/common/command_line.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

// The parser's complaint, or empty when the line parses.
std::string UsageError(const std::string& line) {
  CliContext context;
  CLI::App app;
  DescribeCommandLine(app, context);
  try {
    app.parse(line, false);
  } catch (const CLI::ParseError& e) {
    return e.what()[0] == '\0' ? "(no text)" : e.what();
  }
  return {};
}

// Integer options are decimal, as the window's fields are: each value here would be in the
// option's range read as hexadecimal, octal or with an exponent.
TEST(CommandLineTest, NumbersAreDecimalOnly) {
  const std::string font = "font make --font F --size 9 --encode standard --out f.bmf ";
  const std::string load = "files load A --out a.bin";
  const std::string calibrate = "calibrate --media gap ";
  const std::string lines[] = {
      "probe --baud 0x2580",
      "probe --data-bits 0x8",
      load + " --max 0x41",
      load + " --wait 0x41",
      "doctor --timeout 0x3e8",
      font + "--dpi 0x60",
      font + "--first 0x20",
      font + "--last 0x7e",
      font + "--width 0x10 --height 16 --italic-width 4",
      font + "--width 16 --height 0x10 --italic-width 4",
      font + "--width 16 --height 16 --italic-width 0x4",
      "font make --font F --size inf --encode standard --out f.bmf",
      "font make --font F --size 0x10 --encode standard --out f.bmf",
      calibrate + "--height 1 --gap 1 --dots-per-unit 0xcb",
      calibrate + "--manual --reference 0x200",
      calibrate + "--manual --intensity 0x2",
      calibrate + "--manual --reference 5e2",
      calibrate + "--manual --reference +-5",
      calibrate + "--manual --reference +5",
      calibrate + "--manual --reference ' 5'",
      load + " --max -0",
  };
  for (const std::string& line : lines) {
    EXPECT_NE(UsageError(line).find("decimal"), std::string::npos) << line;
  }
  // UDP ports follow the one port rule of the core (--port: the link options' test).
  for (const char* line :
       {"discover --udp-port 0x5760", "udp factory-default 00:11:22:33:44:55 --udp-port 0x5760"}) {
    EXPECT_NE(UsageError(line).find("'0x"), std::string::npos) << line;
  }
  EXPECT_NE(UsageError("discover --udp-port 0").find("Port 0 is not from 1 to 65535"),
            std::string::npos);
}

TEST(CommandLineTest, UsageErrors) {
  for (const char* line : {
           "",
           "frobnicate",
           "status --bogus",
           "send",
           "config read --out ''",
           "config write a.dcf",
           "config write a.dcf --block x",
           "-i serial status",
           "net",
           "net static 198.51.100.5",
           "udp change-ip 02:11:22:33:44:5A --dhcp --ip 1.2.3.4",
           "udp change-ip 02:11:22:33:44:5A --ip 1.2.3.4",
           "calibrate --height 1",
           "calibrate --media gap --manual --height 1",
           "calibrate --media gap --reference 5",
           "calibrate --media paper",
           "clock",
           "test-page --width 1",
           "dump file",
           "files format rom",
           "font make --font F --size 9 --encode standard --pitch wide --out f.bmf",
           "fleet status",
       }) {
    EXPECT_NE(UsageError(line), "") << line;
  }
  EXPECT_EQ(UsageError("-i net --host 127.0.0.1 --port 09100 status --json"), "");
}

}  // namespace
}  // namespace vantrel::cli
