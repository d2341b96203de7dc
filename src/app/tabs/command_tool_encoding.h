#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>

#include "common/ansi_code_page.h"

namespace vantrel::app {

// The code pages the command tool offers, in the order of its selector.
inline constexpr AnsiCodePage kCommandCodePages[] = {
    AnsiCodePage::kWestern, AnsiCodePage::kTraditionalChinese, AnsiCodePage::kSimplifiedChinese,
    AnsiCodePage::kKorean, AnsiCodePage::kJapanese};

// The editor's text as bytes in a code page, every line break written as CR LF and nothing
// added. When a character has no code there, `bytes` is empty and `error` names it and its
// line, counted from `first_line` (the editor line the text starts on, 1-based).
struct CommandBytes {
  std::string bytes;
  QString error;
};
CommandBytes EncodeCommandText(const QString& text, AnsiCodePage code_page, int first_line = 1);

// A file's text up to its first NUL, decoded; bytes the code page leaves undefined become
// U+FFFD and `warning` says how many there were and where the first was.
struct LoadedText {
  QString text;
  QString warning;
};
LoadedText DecodeCommandText(std::span<const std::uint8_t> bytes, AnsiCodePage code_page,
                             const QString& file_name);

}  // namespace vantrel::app
