// The fleet's report: the keys of its JSON lines, and the report file as it grows.
#include "cli/fleet/fleet_report.h"

#include <gtest/gtest.h>

#include <fstream>

#include "cli/fleet/fleet_report_file.h"
#include "support/cli_runner.h"
#include "support/file_size_limit.h"

namespace vantrel::cli {
namespace {

std::vector<std::string> Keys(const nlohmann::json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

// Exactly the keys the command-line contract lists, "values" where something was to be read.
TEST(FleetReportTest, LinesCarryTheListedKeys) {
  FleetResult clock;
  EXPECT_EQ(
      Keys(nlohmann::json::parse(FleetResultLine(clock))),
      (std::vector<std::string>{"changed", "code", "detail", "ms", "name", "outcome", "target"}));
  FleetResult status;
  status.values = nullptr;
  const auto status_line = nlohmann::json::parse(FleetResultLine(status));
  EXPECT_EQ(status_line.size(), 8u);
  EXPECT_TRUE(status_line.contains("values") && status_line["values"].is_null());

  const auto whole = nlohmann::json::parse(FleetSummaryLine(Summarize({clock}, 0, false, 5)));
  EXPECT_EQ(Keys(whole["summary"]),
            (std::vector<std::string>{"failed", "ms", "succeeded", "total", "unreachable"}));
  const auto cut = nlohmann::json::parse(FleetSummaryLine(Summarize({clock}, 3, true, 5)));
  EXPECT_EQ(Keys(cut["summary"]),
            (std::vector<std::string>{"failed", "interrupted", "ms", "not_started", "succeeded",
                                      "total", "unreachable"}));
  EXPECT_EQ(cut["summary"]["interrupted"], true);
  EXPECT_EQ(cut["summary"]["not_started"], 3);
  FleetSummary canary = Summarize({clock}, 4, false, 5);
  canary.stopped = FleetStop::kCanary;
  const auto stopped = nlohmann::json::parse(FleetSummaryLine(canary));
  EXPECT_EQ(Keys(stopped["summary"]),
            (std::vector<std::string>{"failed", "ms", "not_started", "stopped", "succeeded",
                                      "total", "unreachable"}));
  EXPECT_EQ(stopped["summary"]["stopped"], "canary");
}

class FleetReportFileTest : public ::testing::Test {
 protected:
  std::string path_ = testing::TestFile("fleet_report_file.jsonl");
};

TEST_F(FleetReportFileTest, EmptiesTheOldReportAndAppendsWholeLines) {
  std::ofstream(path_) << "an old report, longer than the new one\n";
  FleetReportFile report;
  ASSERT_TRUE(report.Open(path_).ok());
  report.Append(R"({"target":"a"})");
  // Each line is in the file as soon as it is appended: a killed run leaves it.
  EXPECT_EQ(testing::Slurp(path_), "{\"target\":\"a\"}\n");
  report.Append(R"({"summary":{}})");
  EXPECT_TRUE(report.Close().ok());
  EXPECT_EQ(testing::Slurp(path_), "{\"target\":\"a\"}\n{\"summary\":{}}\n");
}

// A write that the system cuts short (here: a file size limit, which binds root too) leaves no
// piece of a line, and the failure is reported at the end.
TEST_F(FleetReportFileTest, ALineThatDoesNotFitIsLeftOutWhole) {
  FleetReportFile report;
  ASSERT_TRUE(report.Open(path_).ok());
  {
    const testing::FileSizeLimit limit(30);
    report.Append(std::string(20, 'a'));
    report.Append(std::string(20, 'b'));
    report.Append("c");
  }
  const HostFileResult closed = report.Close();
  EXPECT_EQ(closed.code, HostFileError::kWrite);
  EXPECT_EQ(closed.os_error, EFBIG);
  EXPECT_EQ(testing::Slurp(path_), std::string(20, 'a') + "\n");
}

TEST(FleetCsvTest, QuotesOnlyFieldsThatNeedIt) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"line\n", "\"line\n\""},
      {"cr\r", "\"cr\r\""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

// Printer texts reach the file as the table shows them; a printer that was not read has its
// fields empty.
TEST(FleetCsvTest, RowsEscapeWhatThePrinterSent) {
  FleetResult read;
  read.target = "10.0.0.5:9100";
  read.name = "SN,1";
  read.outcome = FleetOutcome::kUnchanged;
  read.values = {{"version", "V\r\n1.0 \"x\"\u00e9"}, {"dpi", 203}, {"mac", nullptr}};
  FleetResult lost;
  lost.target = "10.0.0.6:9100";
  lost.code = 3;
  lost.detail = "receive error, after \"X\"";
  lost.values = nullptr;
  const std::string_view keys[] = {"version", "dpi", "mac", "absent"};
  EXPECT_EQ(FleetCsv({read, lost}, keys),
            "target,name,outcome,code,detail,version,dpi,mac,absent\r\n"
            "10.0.0.5:9100,\"SN,1\",unchanged,0,,\"V\\x0D\\x0A1.0 \"\"x\"\"\\xE9\",203,,\r\n"
            "10.0.0.6:9100,,failed,3,\"receive error, after \"\"X\"\"\",,,,\r\n");
}

}  // namespace
}  // namespace vantrel::cli
