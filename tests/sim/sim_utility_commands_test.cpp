// The simulated printer's clock and its reading of the dump command, which has no line end.
#include <gtest/gtest.h>

#include <string>

#include "engine/sim_printer.h"
#include "support/frame.h"

namespace vantrel::sim {
namespace {

using vantrel::testing::Frame;

TEST(SimClockTest, StartsFromTheHostAndRunsFromWhatItIsSet) {
  SimPrinter printer;
  const SimClockFields start = ReadSimClock(printer.state().clock);
  EXPECT_GE(start[kSimYear], 2024);

  printer.Feed("YEAR = 24\r\nMONTH = 3\r\nDATE = 5\r\nHOUR = 9\r\nMINUTE = 7\r\nSECOND = 3\r\n");
  const std::string answers = printer.Feed(
      "DIAGNOSTIC REPORT YEAR\r\nDIAGNOSTIC REPORT MONTH\r\nDIAGNOSTIC REPORT DATE\r\n"
      "DIAGNOSTIC REPORT HOUR\r\nDIAGNOSTIC REPORT MINUTE\r\n");
  EXPECT_EQ(answers, Frame("2024") + Frame("3") + Frame("5") + Frame("9") + Frame("7"));
  // The seconds go on running; a slow machine may have let a few pass.
  const SimClockFields now = ReadSimClock(printer.state().clock);
  EXPECT_GE(now[kSimSecond], 3);
  EXPECT_LT(now[kSimSecond], 30);
}

TEST(SimClockTest, CarriesOverAsACalendarAndIgnoresWhatIsNoNumber) {
  SimState state;
  SetSimClockField(state.clock, kSimYear, 2023);
  SetSimClockField(state.clock, kSimMonth, 1);
  SetSimClockField(state.clock, kSimDay, 31);
  SimPrinter printer(state);
  printer.Feed("MONTH = 2\r\nDATE = x\r\nYEAR = \r\nYEAR = -2147483648\r\n");
  const SimClockFields now = ReadSimClock(printer.state().clock);
  EXPECT_EQ(now[kSimYear], 2023);
  EXPECT_EQ(now[kSimMonth], 3);  // 31 February is 3 March
  EXPECT_EQ(now[kSimDay], 3);
}

TEST(SimDumpCommandTest, EndsAtItsLastCommaWhereverTheStreamIsSplit) {
  const std::string stream =
      "DUMP_TEXT PRINT,DUMP_TEXT SAVE 1000,E,\"A,B.TXT\",DUMP_TEXT SAVE 1000,\"Dump.txt\","
      "SELFTEST\r\n";
  const std::vector<std::string> expected = {"DUMP_TEXT PRINT,",
                                             "DUMP_TEXT SAVE 1000,E,\"A,B.TXT\",",
                                             "DUMP_TEXT SAVE 1000,\"Dump.txt\",", "SELFTEST"};
  for (std::size_t split = 0; split <= stream.size(); ++split) {
    SimPrinter printer;
    printer.Feed(stream.substr(0, split));
    printer.Feed(stream.substr(split));
    EXPECT_EQ(printer.Commands(), expected) << "split at " << split;
  }
}

TEST(SimDumpCommandTest, OnlyADumpToFileLeavesAFileToLoad) {
  SimPrinter printer;
  printer.Feed("DUMP_TEXT PRINT,DUMP_TEXT SAVE 1000,E,\"LOG.TXT\",");
  EXPECT_EQ(printer.Feed("LOAD \"Dump.txt\"\r\n"), "");
  printer.Feed("DUMP_TEXT SAVE 1000,\"Dump.txt\",");
  EXPECT_EQ(printer.Feed("LOAD \"Dump.txt\"\r\n"), printer.state().dump.text);
}

}  // namespace
}  // namespace vantrel::sim
