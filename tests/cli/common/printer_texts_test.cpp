// Texts that come from a printer, shown on a terminal and carried in JSON: every byte survives
// and none can drive the terminal or forge a row.
#include <gtest/gtest.h>

#include "cli/common/json.h"
#include "cli/common/terminal_text.h"

namespace vantrel::cli {
namespace {

TEST(PrinterTextsTest, EachByteClassOnTheTerminalAndInJson) {
  const struct {
    std::string bytes;
    std::string shown;
    std::string json;  // the JSON document's text
  } rows[] = {
      {"A z~", "A z~", R"("A z~")"},
      {std::string(1, '\0'), "\\x00", R"("\u0000")"},
      {"\n\r\t", "\\x0A\\x0D\\x09", R"("\n\r\t")"},
      {"\x1b]0;t\x07", "\\x1B]0;t\\x07", R"("\u001b]0;t\u0007")"},
      {"\x7f", "\\x7F", "\"\x7f\""},
      {"\x80\xb5\xff", "\\x80\\xB5\\xFF", "\"\xc2\x80\xc2\xb5\xc3\xbf\""},
      // Escaped itself, so that the escapes above are never forged by plain text.
      {"\\x41", "\\\\x41", R"("\\x41")"},
      {"\"", "\"", R"("\"")"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PrintableText(row.bytes), row.shown) << row.shown;
    EXPECT_EQ(PrinterText(row.bytes).dump(), row.json) << row.shown;
  }
}

}  // namespace
}  // namespace vantrel::cli
