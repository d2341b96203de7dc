// vantrel-cli font make, show and download: exit statuses, the report and what is left on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/cli_runner.h"

namespace vantrel {
namespace {

using testing::RunCli;

class CliFontTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return ::testing::TempDir() + "/cli_font_" + name;
  }
  static std::string Make(const std::string& options) {
    return "font make --font 'DejaVu Sans' --size 9 " + options;
  }
};

TEST_F(CliFontTest, MakeReportsCoverageAndShowReadsTheFile) {
  const std::string out = Path("standard.bmf");
  const testing::CliRun made = RunCli(Make("--encode standard --report --json --out " + out));
  ASSERT_EQ(made.status, 0) << made.err;
  const auto report = nlohmann::json::parse(made.out);
  EXPECT_EQ(report.size(), 3U);
  EXPECT_EQ(report["glyphs"], 96);
  EXPECT_EQ(report["missing"], 1);
  EXPECT_EQ(report["missing_codes"], nlohmann::json::array({127}));

  const std::string png = Path("sheet.png");
  const testing::CliRun shown = RunCli("font show " + out + " --json --png " + png);
  ASSERT_EQ(shown.status, 0) << shown.err;
  const auto header = nlohmann::json::parse(shown.out);
  EXPECT_EQ(header["glyphs"], 96);
  EXPECT_EQ(header["pitch"], "variable");
  EXPECT_EQ(header["index"], true);
  const std::string sheet = testing::Slurp(png);
  EXPECT_EQ(sheet.substr(1, 3), "PNG");
}

TEST_F(CliFontTest, RefusalsLeaveNoFile) {
  const std::string out = Path("refused.bmf");
  const std::string empty_table = Path("empty_table.txt");
  std::ofstream(empty_table) << "\r\n";
  const struct {
    std::string options;
    int status;
    std::string message;
  } cases[] = {
      {"--encode standard --first 100 --last 50", 6, "Make Font Error"},
      {"--encode standard --last 256", 6, "Font Parameter Error"},
      {"--encode standard --width 2049 --height 8 --italic-width 0", 6, "Font Parameter Error"},
      {"--encode table --table " + empty_table, 6, "Font Parameter Error"},
      {"--encode table --table " + Path("none.txt"), 4, "File Open Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const testing::CliRun run = RunCli(Make(c.options + " --out " + out));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.substr(0, c.message.size()), c.message);
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

// What cannot make a useful font is refused, its cause after the message; a cell width that
// variable-pitch glyphs do not use is only warned about. (Each number's range is the options'
// own test; one stands for them here.)
TEST_F(CliFontTest, FontChoicesThatMakeNoUsefulFont) {
  const std::string out = Path("choice.bmf");
  const std::string table = Path("pair_table.txt");
  std::ofstream(table) << "AB";
  const struct {
    const char* label;
    std::string options;
    int status;
    std::string first_line;
    std::string cause;
  } cases[] = {
      {"unknown family", "--font NoSuchFamily --size 9 --encode standard", 6,
       "Font Parameter Error", "NoSuchFamily"},
      {"family in other case", "--font 'dejavu sans' --size 9 --encode standard", 0, "", ""},
      {"size beyond its range", "--font 'DejaVu Sans' --size 2049 --encode standard", 6,
       "Font Parameter Error", "--size must be more than 0 and at most 2048"},
      {"measured cell too large", "--font 'DejaVu Sans' --size 2000 --encode standard", 6,
       "Font Parameter Error", "larger than"},
      {"no measuring character, fixed",
       "--font 'DejaVu Sans' --size 9 --encode asian --language ko", 6, "Font Parameter Error",
       "--width"},
      {"no measuring character, variable",
       "--font 'DejaVu Sans' --size 9 --encode asian-table --language ko --pitch variable "
       "--table " +
           table,
       0, "warning", "--width"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove(out);
    const testing::CliRun run = RunCli("font make " + c.options + " --out " + out);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.err.substr(0, c.first_line.size()), c.first_line);
    EXPECT_NE(run.err.find(c.cause, c.first_line.size()), std::string::npos) << run.err;
    EXPECT_EQ(std::filesystem::exists(out), c.status == 0);
  }
}

// The font file goes where every save goes: a FIFO, or a link to one, is written in place and
// never replaced by a file. What keeps the font from being written is named after the message.
TEST_F(CliFontTest, OutputFailuresKeepTheTargetAndGiveTheirCause) {
  const std::filesystem::path folder = testing::TestFile("font_targets");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path fifo = folder / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink(fifo, folder / "link");
  const struct {
    const char* label;
    std::filesystem::path out;
    std::string cause;
  } cases[] = {
      {"FIFO without a reader", fifo, "No such device or address"},
      {"link to that FIFO", folder / "link", "No such device or address"},
      {"folder", folder, "Is a directory"},
      {"missing folder", folder / "none" / "font.bmf", "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const testing::CliRun run = RunCli(Make("--encode standard --out " + c.out.string()));
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "Make Font Error");
    EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(fifo)));
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(folder / "link")));
  std::filesystem::remove_all(folder);
}

// The language byte comes from the file as it is: JSON carries it as its Latin-1 reading,
// the terminal sees it escaped. (Every byte class is the printer texts' own test.)
TEST_F(CliFontTest, ShowEscapesTheHeaderBytesItPrints) {
  const std::string font = Path("language.bmf");
  ASSERT_EQ(RunCli(Make("--encode standard --first 65 --last 65 --out " + font)).status, 0);
  std::string bytes = testing::Slurp(font);
  bytes[13] = '\x1b';
  std::ofstream(font, std::ios::binary) << bytes;
  const testing::CliRun json = RunCli("font show --json " + font);
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out)["language"], "\x1b");
  EXPECT_EQ(json.out.find('\x1b'), std::string::npos);
  const testing::CliRun shown = RunCli("font show " + font);
  EXPECT_NE(shown.out.find("language \\x1B\n"), std::string::npos) << shown.out;
}

TEST_F(CliFontTest, ShowRefusesADamagedFile) {
  const std::string bad = Path("bad.bmf");
  std::ofstream(bad, std::ios::binary) << "B\x01\x00\x01";
  const testing::CliRun run = RunCli("font show " + bad);
  EXPECT_EQ(run.status, 6);
  EXPECT_NE(run.err.find("Font File Error"), std::string::npos);
  EXPECT_EQ(RunCli("font show " + Path("missing.bmf")).status, 4);
}

TEST_F(CliFontTest, DownloadRefusesAnUnsafeNameBeforeMakingAnything) {
  const testing::CliRun run = RunCli(
      "-i net --host 127.0.0.1 --port 1 font download --font 'DejaVu Sans' --size 9 "
      "--encode standard --name 'A\"B'");
  EXPECT_EQ(run.status, 6);
  EXPECT_EQ(RunCli("-i net --host 127.0.0.1 --port 1 font download --font 'DejaVu Sans' "
                   "--size 9 --encode standard --name " +
                   std::string(32, 'N'))
                .status,
            6);
}

}  // namespace
}  // namespace vantrel
