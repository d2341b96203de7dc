// The D emulation page. Each command is sent three times, with each of the introducer and
// terminator pairs the printer may be set to, so it lands whatever control codes are in force.
#include <array>
#include <cmath>
#include <cstdio>

#include "config/unit_conversions.h"
#include "ops/bounded_text.h"
#include "ops/config_block_commands.h"

namespace vantrel {
namespace {

constexpr std::array<char, 3> kDControlLetters = {'S', '1', '2'};

// The settings text: up to 512 bytes built from parts of at most 15 characters; a part that
// would not fit is left out.
using DSettingsText = BoundedText<512, 15>;

void SendDCommand(CommandWriter& out, const char* name, const char* argument) {
  out.Send("%c%s%s%c\r\n%c%s%s%c\r\n%c%s%s%c\r\n", 0x02, name, argument, 0x0D, '~', name, argument,
           0x0D, '~', name, argument, '|');
}

// The inverse of the letters the printer reports its speed with.
char DSpeedLetter(float speed) {
  const long double s = speed;
  if (s >= 0.75L && s < 12.5L) return static_cast<char>('A' + std::trunc((s - 0.75L) * 2));
  if (s >= 12.5L && s < 15.5L) return static_cast<char>('X' + std::trunc(s - 12.5L));
  if (s >= 15.5L && s < 20.5L) return static_cast<char>('a' + std::trunc(s - 15.5L));
  return 'G';
}

// "LW0400;" and the like: a dot length in hundredths of an inch. A length that cannot be
// converted (no usable Dpi in a loaded record) is left out rather than sent wrong.
void AppendHundredths(DSettingsText& text, const char* name, const IntItem& dots, float dpi) {
  if (!dots.flag_is_one()) return;
  if (const auto hundredths = DotsToHundredthsInch(dots.value, dpi)) {
    text.Append("%s%04d;", name, *hundredths);
  }
}

// 1 OFF, 2 ON; the printer's letters are N and Y.
void AppendOnOff(DSettingsText& text, const char* name, const IntItem& item) {
  if (item.flag_is_one() && (item.value == 1 || item.value == 2)) {
    text.Append("%s%c;", name, item.value == 2 ? 'Y' : 'N');
  }
}

DSettingsText SettingsText(const PrinterConfig& c) {
  DSettingsText text;
  AppendHundredths(text, "LW", c.LabelWidthD, c.Dpi.value);
  AppendOnOff(text, "PS", c.PresentSensorD);
  AppendOnOff(text, "CE", c.CutterEquippedD);
  if (c.ControlCodesD.flag_is_one() && c.ControlCodesD.value >= 1 && c.ControlCodesD.value <= 3) {
    text.Append("CC%c;", kDControlLetters[static_cast<std::size_t>(c.ControlCodesD.value - 1)]);
  }
  AppendHundredths(text, "CO", c.ColumnOffsetD, c.Dpi.value);
  AppendHundredths(text, "RO", c.RowOffsetD, c.Dpi.value);
  return text;
}

}  // namespace

void WriteDBlock(CommandWriter& out, const PrinterConfig& c) {
  if (c.HeatD.flag_is_one()) {
    std::array<char, 16> heat;
    std::snprintf(heat.data(), heat.size(), "%02d", c.HeatD.value);
    SendDCommand(out, "KZH", heat.data());
  }
  if (c.PrintSpeedD.flag_is_one()) {
    const std::array<char, 2> letter = {DSpeedLetter(c.PrintSpeedD.value), '\0'};
    SendDCommand(out, "KZP", letter.data());
  }
  const DSettingsText settings = SettingsText(c);
  if (!settings.empty()) SendDCommand(out, "Kc", settings.c_str());
}

}  // namespace vantrel
