#include "cli/common/progress_bar.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

// One bar for a single operation's percentage and a fleet's printers: filled in proportion,
// full when there is nothing to do, never past its width.
TEST(BarLineTest, FillsInProportionWithinItsWidth) {
  const std::string empty(30, ' ');
  const std::string full(30, '#');
  const struct {
    std::string_view caption;
    std::size_t done;
    std::size_t total;
    std::string_view suffix;
    std::string line;
  } cases[] = {
      {"Sending", 0, 100, "0%", "Sending [" + empty + "] 0%"},
      {"Sending", 50, 100, "50%",
       "Sending [" + std::string(15, '#') + std::string(15, ' ') + "] 50%"},
      {"", 1, 3, "1/3 printers",
       "[" + std::string(10, '#') + std::string(20, ' ') + "] 1/3 printers"},
      {"", 0, 0, "", "[" + full + "]"},
      {"", 7, 5, "", "[" + full + "]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BarLine(c.caption, c.done, c.total, c.suffix), c.line) << c.done << "/" << c.total;
  }
}

}  // namespace
}  // namespace vantrel::cli
