#include "cli/font/font_options.h"

#include "cli/common/decimal_integer.h"

namespace vantrel::cli {
namespace {

// A font of more points than the largest cell has pixels overflows that cell from 72 dpi up.
constexpr int kMaxPoints = kMaxCellSide;
// Four times the finest printer's resolution.
constexpr int kMaxDpi = 2400;

}  // namespace

void AddMakeOptions(CLI::App& command, MakeOptions& options) {
  command.add_option("--font", options.font.family, "installed font family")->required();
  command.add_option("--size", options.font.points, "size in points")
      ->required()
      ->check(DecimalReal());
  command.add_flag("--bold", options.font.bold, "bold style");
  command.add_flag("--italic", options.font.italic, "italic style");
  command.add_option("--dpi", options.font.dpi, "pixels per inch for the point size (96)")
      ->transform(DecimalInteger());
  command.add_option("--encode", options.encode, "standard|asian|table|asian-table")
      ->required()
      ->check(CLI::IsMember(kFontEncodes));
  command.add_option("--first", options.first, "first code of a standard font (32)")
      ->transform(DecimalInteger());
  command.add_option("--last", options.last, "last code of a standard font (127)")
      ->transform(DecimalInteger());
  command.add_option("--language", options.language, "tc|sc|ko|ja, for the Asian encodings")
      ->check(CLI::IsMember(kFontLanguages));
  command.add_option("--table", options.table_path, "encode table file for the table encodings");
  command.add_option("--pitch", options.pitch, "fixed|variable (by the encoding)")
      ->check(CLI::IsMember(kFontPitches));
  command.add_option("--width", options.width, "cell width in pixels (measured)")
      ->transform(DecimalInteger());
  command.add_option("--height", options.height, "cell height in pixels (measured)")
      ->transform(DecimalInteger());
  command.add_option("--italic-width", options.italic_width, "italic width (measured)")
      ->transform(DecimalInteger());
  command.add_flag("--report", options.report, "say which codes had no glyph in the font");
  command.add_flag("--json", options.json, "print the report as one JSON document");
}

std::string NumberRefusal(const MakeOptions& options) {
  if (!(options.font.points > 0 && options.font.points <= kMaxPoints)) {
    return "--size must be more than 0 and at most " + std::to_string(kMaxPoints) + " points";
  }
  const struct {
    const char* option;
    std::optional<int> value;
    int low;
    int high;
  } limits[] = {
      {"--dpi", options.font.dpi, 1, kMaxDpi},
      {"--first", options.first, 0, 255},
      {"--last", options.last, 0, 255},
      {"--width", options.width, 1, kMaxCellSide},
      {"--height", options.height, 1, kMaxCellSide},
      {"--italic-width", options.italic_width, 0, kMaxCellSide},
  };
  for (const auto& limit : limits) {
    if (limit.value && (*limit.value < limit.low || *limit.value > limit.high)) {
      return std::string(limit.option) + " " + std::to_string(*limit.value) + " is outside " +
             std::to_string(limit.low) + ".." + std::to_string(limit.high);
    }
  }
  return {};
}

}  // namespace vantrel::cli
