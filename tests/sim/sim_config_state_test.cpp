// Settings that do not take: their commands are taken, their reports stay.
#include <gtest/gtest.h>

#include <string>

#include "engine/sim_printer.h"

namespace vantrel::sim {
namespace {

TEST(SimUnstoredTest, CommandsLeaveOnlyTheUnstoredSettings) {
  SimState state;
  ASSERT_TRUE(MarkUnstored(state.config, {"RIBBON", "PAPERWIDTH"}).ok());
  SimPrinter printer(state);
  printer.Feed("SET RIBBON ON\r\nSIZE 50 mm,30 mm\r\nDENSITY 12\r\n");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC REPORT RIBBON\r\nDIAGNOSTIC REPORT PAPERWIDTH\r\n"
                         "DIAGNOSTIC REPORT PAPERHEIGHT\r\nDIAGNOSTIC REPORT DENSITY\r\n"),
            "{1|0}{3|812}{3|240}{2|12}");
}

TEST(SimUnstoredTest, AnUnknownNameIsRefusedAndMarksNothing) {
  SimConfigState config = DefaultSimConfig();
  const SimFailure failure = MarkUnstored(config, {"RIBBON", "NOSUCH"});
  EXPECT_NE(failure.detail.find("NOSUCH"), std::string::npos) << failure.detail;
  EXPECT_TRUE(config.unstored.empty());
}

}  // namespace
}  // namespace vantrel::sim
