#include <gtest/gtest.h>

#include <string>

#include "engine/sim_printer.h"
#include "engine/sim_profile.h"

namespace vantrel::sim {
namespace {

SimMemory Flash(const SimPrinter& printer) {
  return printer.state().memory.memories[1];
}

TEST(SimFileCommandsTest, DownloadDataIsTakenExactlyWhereverTheStreamIsSplit) {
  const std::string data("A\0\r\nB\xff", 6);
  const std::string stream =
      "DOWNLOAD F,\"LOGO.BMP\",6," + data + "DIAGNOSTIC REPORT FFILELIST\r\n";
  for (std::size_t split = 0; split <= stream.size(); ++split) {
    SimPrinter printer;
    std::string answers = printer.Feed(stream.substr(0, split));
    answers += printer.Feed(stream.substr(split));
    EXPECT_EQ(answers, "{8|LOGO.BMP}{0|}") << "split at " << split;
    ASSERT_EQ(Flash(printer).files.size(), 1u) << "split at " << split;
    EXPECT_EQ(Flash(printer).files[0].second, data) << "split at " << split;
    EXPECT_EQ(Flash(printer).free_kb, 8191);
  }
}

TEST(SimFileCommandsTest, EmptyAndOversizedDownloadsLeaveTheStreamInStep) {
  SimState state;
  state.memory.memories[0].free_kb = 1;
  SimPrinter printer(state);
  // 1025 bytes need two kilobytes: swallowed, not stored.
  printer.Feed("DOWNLOAD \"BIG\",1025," + std::string(1025, '\n'));
  printer.Feed("DOWNLOAD E,\"ZERO\",0,DOWNLOAD \"SMALL\",3,abc");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT DFILELIST\r\nDIAGNOSTIC REPORT CFILELIST\r\n"),
            "{5|SMALL}{0|}{4|ZERO}{0|}");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT DFREESPACE\r\n"), "{1|0}");
}

TEST(SimFileCommandsTest, ConnectionEndingMidDownloadStoresNothing) {
  SimPrinter printer;
  printer.Feed("DOWNLOAD F,\"CUT\",10,abc");
  printer.ResetStream();
  printer.Feed("DIAGNOSTIC REPORT FPHYSPACE\r\n");
  EXPECT_TRUE(Flash(printer).files.empty());
}

TEST(SimFileCommandsTest, SizesListsKillAndLoadAnswerFromTheMemories) {
  SimPrinter printer(ParseSimProfile(R"({"memory": {
      "dram": {"physical": 100, "files": {"A.BAS": "10 PRINT"}},
      "card": {"physical": 512, "free": 12, "files": {"B": "x", "C": "y"}}}})"));
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT DPHYSPACE\r\nDIAGNOSTIC REPORT DFREESPACE\r\n"),
            "{3|100}{2|99}");
  // The card cannot tell its free space.
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT CFREESPACE\r\nDIAGNOSTIC REPORT CPHYSPACE\r\n"),
            "{3|512}");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT CFILELIST\r\n"), "{1|B}{1|C}{0|}");
  EXPECT_EQ(printer.Feed("LOAD \"A.BAS\"\r\n\r\nLOAD \"NONE\"\r\n"), "10 PRINT");
  printer.Feed("KILL \"*.*\"\r\n");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT DFILELIST\r\nDIAGNOSTIC REPORT DFREESPACE\r\n"),
            "{0|}{3|100}");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT CFILELIST\r\n"), "{1|B}{1|C}{0|}");
}

TEST(SimFileCommandsTest, MemoryProfileRejectsUnknownKeys) {
  for (const char* bad : {R"({"memory": {"rom": {}}})", R"({"memory": {"dram": {"size": 1}}})",
                          R"({"memory": {"flash": {"physical": -1}}})",
                          R"({"memory": {"card": {"files": {"A": 1}}}})"}) {
    EXPECT_THROW(ParseSimProfile(bad), SimProfileError) << bad;
  }
}

}  // namespace
}  // namespace vantrel::sim
