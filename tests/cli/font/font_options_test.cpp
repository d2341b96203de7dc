// The numbers of font make and font download, each within its range before anything is drawn.
#include "cli/font/font_options.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::cli {
namespace {

TEST(FontOptionsTest, EachNumberWithinItsRange) {
  const struct {
    std::function<void(MakeOptions&)> change;
    std::string refusal;
  } rows[] = {
      {[](MakeOptions&) {}, ""},
      {[](MakeOptions& o) { o.font.points = 2048; }, ""},
      {[](MakeOptions& o) { o.font.points = 0; },
       "--size must be more than 0 and at most 2048 points"},
      {[](MakeOptions& o) { o.font.points = -3; },
       "--size must be more than 0 and at most 2048 points"},
      {[](MakeOptions& o) { o.font.points = 2048.5; },
       "--size must be more than 0 and at most 2048 points"},
      {[](MakeOptions& o) { o.font.dpi = 0; }, "--dpi 0 is outside 1..2400"},
      {[](MakeOptions& o) { o.font.dpi = 2400; }, ""},
      {[](MakeOptions& o) { o.font.dpi = 2401; }, "--dpi 2401 is outside 1..2400"},
      {[](MakeOptions& o) { o.first = -1; }, "--first -1 is outside 0..255"},
      {[](MakeOptions& o) { o.last = 256; }, "--last 256 is outside 0..255"},
      {[](MakeOptions& o) { o.first = 0, o.last = 255; }, ""},
      {[](MakeOptions& o) { o.width = 0; }, "--width 0 is outside 1..2048"},
      {[](MakeOptions& o) { o.height = 2049; }, "--height 2049 is outside 1..2048"},
      {[](MakeOptions& o) { o.height = 0; }, "--height 0 is outside 1..2048"},
      {[](MakeOptions& o) { o.italic_width = 0; }, ""},
      {[](MakeOptions& o) { o.italic_width = -3; }, "--italic-width -3 is outside 0..2048"},
  };
  for (const auto& row : rows) {
    MakeOptions options;
    options.font.points = 9;
    row.change(options);
    EXPECT_EQ(NumberRefusal(options), row.refusal);
  }
}

}  // namespace
}  // namespace vantrel::cli
