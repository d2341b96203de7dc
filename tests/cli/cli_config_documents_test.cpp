// Configuration documents on the command line: the text form of files read from printers of
// each resolution, taken by every command that takes a document, and edited in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/sim_profile.h"
#include "servers/sim_tcp_server.h"
#include "support/cli_runner.h"

namespace vantrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::Slurp;
using testing::TestFile;

// A simulated printer of one profile on a free loopback port.
class ProfiledPrinter {
 public:
  explicit ProfiledPrinter(const std::string& profile)
      : printer_(sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + profile)),
        server_(printer_) {
    EXPECT_TRUE(server_.Start("127.0.0.1", 0).ok());
  }

  std::string Target() const { return "127.0.0.1:" + std::to_string(server_.port()); }

  std::string Net() const {
    return "-i net --host 127.0.0.1 --port " + std::to_string(server_.port());
  }

  // The printer's configuration file, as `config read --out` saves it.
  std::string Read(const std::string& name) {
    const std::string path = TestFile(name);
    const CliRun read = RunCli(Net() + " config read --out " + path);
    EXPECT_EQ(read.status, 0) << read.err;
    return path;
  }

 private:
  sim::SimPrinter printer_;
  sim::SimTcpServer server_;
};

// The lines of `after` that differ from those of `before`, of two texts of as many lines.
std::vector<std::string> ChangedLines(const std::string& before, const std::string& after) {
  std::istringstream a(before);
  std::istringstream b(after);
  std::vector<std::string> changed;
  std::string x;
  std::string y;
  while (std::getline(a, x)) {
    if (!std::getline(b, y)) return {"(fewer lines)"};
    if (x != y) changed.push_back(y);
  }
  if (std::getline(b, y)) changed.push_back("(more lines)");
  return changed;
}

// Read by the fleet, whose shortened waits pass quickly over what an older printer does not
// answer.
std::vector<std::filesystem::path> FilesReadFrom(const std::vector<std::string>& profiles) {
  std::vector<std::unique_ptr<ProfiledPrinter>> printers;
  const std::string hosts = TestFile("documents_hosts.txt");
  std::ofstream list(hosts);
  for (const std::string& profile : profiles) {
    list << printers.emplace_back(std::make_unique<ProfiledPrinter>(profile))->Target() << '\n';
  }
  list.close();
  const std::filesystem::path dir = TestFile("documents_read");
  std::filesystem::remove_all(dir);
  const CliRun read =
      RunCli("fleet --hosts " + hosts + " --wait 1500 config read --out-dir " + dir.string());
  EXPECT_EQ(read.status, 0) << read.out;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path());
  EXPECT_EQ(files.size(), profiles.size());
  return files;
}

TEST(CliConfigDocumentsTest, ExportThenImportGivesTheSameFileAtEachResolution) {
  const std::string text = TestFile("documents_read.txt");
  const std::string again = TestFile("documents_again.dcf");
  for (const std::filesystem::path& path :
       FilesReadFrom({"printer-203dpi.json", "printer-300dpi.json", "printer-600dpi.json",
                      "printer-older.json"})) {
    const std::string file = path.string();
    for (const std::string unit : {"", " --unit mm", " --unit inch"}) {
      const CliRun exported = RunCli("config export " + file + unit + " --out " + text);
      ASSERT_EQ(exported.status, 0) << exported.err;
      EXPECT_EQ(RunCli("config export " + file + unit).out, Slurp(text));
      const CliRun imported = RunCli("config import " + text + " --out " + again);
      ASSERT_EQ(imported.status, 0) << imported.err;
      EXPECT_EQ(Slurp(again), Slurp(file)) << file << unit;
    }
    // The text stands in for the file wherever a document is taken.
    EXPECT_EQ(RunCli("config show " + text + " --json").out,
              RunCli("config show " + file + " --json").out);
    EXPECT_EQ(RunCli("config diff " + text + " " + file).status, 0) << file;
  }
}

TEST(CliConfigDocumentsTest, AnEditedTextIsWrittenAndVerified) {
  ProfiledPrinter printer("printer-300dpi.json");
  const std::string text = TestFile("documents_write.txt");
  ASSERT_EQ(
      RunCli("config export " + printer.Read("documents_write.dcf") + " --out " + text).status, 0);
  const CliRun set =
      RunCli("config set " + text + " Common.PaperWidth=2.50in Z.PrintWidth=600dots");
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(RunCli(printer.Net() + " config diff " + text + " --printer").status, 10);
  const std::string hosts = TestFile("documents_write_hosts.txt");
  std::ofstream(hosts) << printer.Target() << '\n';
  const CliRun plan = RunCli("fleet --hosts " + hosts + " --json config apply " + text +
                             " --block common --dry-run");
  EXPECT_NE(plan.out.find("\"outcome\":\"changed\""), std::string::npos) << plan.out << plan.err;
  for (const char* page : {"common", "z"}) {
    const CliRun write =
        RunCli(printer.Net() + " config write " + text + " --block " + page + " --verify");
    EXPECT_EQ(write.status, 0) << write.err;
  }
  EXPECT_EQ(RunCli(printer.Net() + " config diff " + text + " --printer").status, 0);
}

// What a review of the text in version control sees: one item, one line.
TEST(CliConfigDocumentsTest, SettingOneItemChangesOneLineOfTheTextInEitherForm) {
  ProfiledPrinter printer("printer-203dpi.json");
  const std::string file = printer.Read("documents_set.dcf");
  const std::string before = RunCli("config export " + file).out;
  ASSERT_EQ(RunCli("config set " + file + " Common.PaperWidth=3.00in").status, 0);
  const std::vector<std::string> in_file =
      ChangedLines(before, RunCli("config export " + file).out);
  ASSERT_EQ(in_file.size(), 1u);
  EXPECT_NE(in_file[0].find("\"Common.PaperWidth\": \"3.00in\""), std::string::npos) << in_file[0];

  const std::string text = TestFile("documents_set.txt");
  ASSERT_EQ(RunCli("config export " + file + " --unit mm --out " + text).status, 0);
  const std::string text_before = Slurp(text);
  ASSERT_EQ(RunCli("config set " + text + " Common.MediaSensor=Continuous").status, 0);
  const std::vector<std::string> in_text = ChangedLines(text_before, Slurp(text));
  ASSERT_EQ(in_text.size(), 1u);
  EXPECT_NE(in_text[0].find("\"Common.MediaSensor\": \"Continuous\""), std::string::npos);
  EXPECT_NE(Slurp(text).find("\"Common.PaperWidth\": \"76.20mm\""), std::string::npos)
      << "the text keeps its millimetres";
}

TEST(CliConfigDocumentsTest, RefusalsNameTheKeyOrLineAndTouchNothing) {
  ProfiledPrinter printer("printer-203dpi.json");
  const std::string file = printer.Read("documents_refused.dcf");
  const std::string text = TestFile("documents_refused.txt");
  ASSERT_EQ(RunCli("config export " + file + " --out " + text).status, 0);
  const struct {
    std::string edits;
    std::string said;
  } rows[] = {
      {"Common.Nothing=1", "\"Common.Nothing\": no item has this key"},
      {"Common.PaperWidth=3.00in Common.MediaSensor=Paper", "Common.MediaSensor: \"Paper\""},
      {"Common.GapSize=30mm", "Common.GapSize: must be from 0 to 25.4 mm"},
  };
  for (const std::string& document : {file, text}) {
    const std::string before = Slurp(document);
    for (const auto& row : rows) {
      const CliRun set = RunCli("config set " + document + " " + row.edits);
      EXPECT_EQ(set.status, 6) << row.edits;
      EXPECT_NE(set.err.find(document + ": " + row.said), std::string::npos) << set.err;
      EXPECT_EQ(Slurp(document), before) << row.edits;
    }
    EXPECT_EQ(RunCli("config set " + document).status, 64);
  }

  std::string broken = Slurp(text);
  const std::size_t at = broken.find("\"Common.MediaSensor\": \"");
  broken.insert(at + 23, "Paper");
  const int line = 1 + static_cast<int>(std::count(broken.begin(), broken.begin() + at, '\n'));
  const std::string broken_text = TestFile("documents_broken.txt");
  std::ofstream(broken_text) << broken;
  const std::string out = TestFile("documents_broken.dcf");
  std::remove(out.c_str());
  const CliRun imported = RunCli("config import " + broken_text + " --out " + out);
  EXPECT_EQ(imported.status, 6);
  EXPECT_NE(imported.err.find(broken_text + ": line " + std::to_string(line) +
                              ": Common.MediaSensor: \"Paper"),
            std::string::npos)
      << imported.err;
  EXPECT_FALSE(std::ifstream(out).good());
  EXPECT_EQ(RunCli("config write " + broken_text + " --block common").status, 6);
}

}  // namespace
}  // namespace vantrel
