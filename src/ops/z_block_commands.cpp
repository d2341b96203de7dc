// The Z emulation page. Every command travels inside fixed framing bytes that the printer
// recognises whatever prefix characters are configured, including ones this very block changes.
#include <array>
#include <optional>
#include <span>

#include "ops/config_block_commands.h"

namespace vantrel {
namespace {

// Octal escapes: 020 is 0x10, 036 is 0x1E (a hex escape would swallow a following A..F).
constexpr const char* kZControlLead = "\020";
constexpr const char* kZControlTrail = "\036XA\036JUS\036XZ";
constexpr const char* kZFormatLead = "\036XA\036";
constexpr const char* kZFormatTrail = "\036JUS\036XZ";

constexpr std::array<char, 3> kPrintModeLetters = {'T', 'P', 'C'};
constexpr std::array<char, 4> kMediaActionLetters = {'F', 'C', 'L', 'N'};

// The letter of a set choice that counts from 1; no value outside the table.
std::optional<char> LetterOf(const IntItem& item, std::span<const char> letters) {
  if (!item.set() || item.value < 1 || static_cast<std::size_t>(item.value) > letters.size()) {
    return std::nullopt;
  }
  return letters[static_cast<std::size_t>(item.value - 1)];
}

}  // namespace

void WriteZBlock(CommandWriter& out, const PrinterConfig& c) {
  if (c.DarknessZ.set()) {
    out.Send("%sSD%d%s\r\n", kZControlLead, c.DarknessZ.value, kZControlTrail);
  }
  if (c.PrintSpeedZ.set()) {
    out.Send("%sPR%d%s\r\n", kZFormatLead, c.PrintSpeedZ.value, kZFormatTrail);
  }
  if (c.TearOffZ.set()) out.Send("%sTA%d%s\r\n", kZControlLead, c.TearOffZ.value, kZControlTrail);
  if (const auto mode = LetterOf(c.PrintModeZ, kPrintModeLetters)) {
    out.Send("%sMM%c%s\r\n", kZFormatLead, *mode, kZFormatTrail);
  }
  if (c.PrintWidthZ.set()) {
    out.Send("%sPW%d%s\r\n", kZFormatLead, c.PrintWidthZ.value, kZFormatTrail);
  }
  if (c.ControlPrefixZ.set()) {
    out.Send("%sCT%c%s\r\n", kZControlLead, c.ControlPrefixZ.value, kZControlTrail);
  }
  if (c.FormatPrefixZ.set()) {
    out.Send("%sCC%c%s\r\n", kZControlLead, c.FormatPrefixZ.value, kZControlTrail);
  }
  if (c.DelimiterCharZ.set()) {
    out.Send("%sCD%c%s\r\n", kZControlLead, c.DelimiterCharZ.value, kZControlTrail);
  }
  if (const auto action = LetterOf(c.MediaPowerUpZ, kMediaActionLetters)) {
    out.Send("%sMF%c%s\r\n", kZFormatLead, *action, kZFormatTrail);
  }
  // The record's delimiter is used whether or not it is being set: it is ',' unless read.
  if (const auto action = LetterOf(c.HeadCloseZ, kMediaActionLetters)) {
    out.Send("%sMF%c%c%s\r\n", kZFormatLead, c.DelimiterCharZ.value, *action, kZFormatTrail);
  }
  if (c.LabelTopZ.set()) out.Send("%sLT%d%s\r\n", kZFormatLead, c.LabelTopZ.value, kZFormatTrail);
  if (c.LeftPositionZ.set()) {
    out.Send("%sLS%d%s\r\n", kZFormatLead, c.LeftPositionZ.value, kZFormatTrail);
  }
}

}  // namespace vantrel
