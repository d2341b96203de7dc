// The clock's text: the one form `clock set` takes, and the form `clock read` shows.
#include "cli/clock/clock_text.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

TEST(ClockTextTest, OneFormIsTakenAndShownBack) {
  const struct {
    const char* when;
    std::string shown;  // ClockText of what was read; empty when refused
  } rows[] = {
      {"2024-03-05T09:07:03", "2024-03-05 09:07:03"},
      {"2024-02-29T23:59:59", "2024-02-29 23:59:59"},
      {"0000-01-01T00:00:00", "0000-01-01 00:00:00"},
      {"2024-02-30T00:00:00", ""},
      {"2024-13-01T00:00:00", ""},
      {"2024-03-05T24:00:00", ""},
      {"2024-3-5T09:07:03", ""},
      {"2024-03-05 09:07:03", ""},
      {"2024-03-05T09:07:03Z", ""},
      {"-024-03-05T09:07:03", ""},
      {"yesterday", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    std::string refusal;
    const std::optional<ClockSettings> clock = ClockFromText(row.when, refusal);
    EXPECT_EQ(clock ? ClockText(*clock) : "", row.shown) << row.when;
    EXPECT_EQ(refusal.empty(), clock.has_value()) << row.when << ": " << refusal;
  }
  std::string refusal;
  EXPECT_TRUE(ClockFromText("now", refusal)) << refusal;
  ClockFromText("yesterday", refusal);
  EXPECT_EQ(refusal, "\"yesterday\" is neither now nor a time of the form YYYY-MM-DDTHH:MM:SS");
}

}  // namespace
}  // namespace vantrel::cli
