#include "app/tabs/command_tool_encoding.h"

#include <algorithm>

namespace vantrel::app {
namespace {

// Line breaks as the editor gives them: LF from a plain text, paragraph and line separators
// from a selection.
bool IsLineBreak(QChar c) {
  return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

std::string WithCrLf(const QString& text) {
  QString lines;
  lines.reserve(text.size() + text.size() / 8);
  for (const QChar c : text) {
    if (IsLineBreak(c)) {
      lines += QStringLiteral("\r\n");
    } else {
      lines += c;
    }
  }
  return lines.toStdString();
}

QString CharacterName(char32_t c) {
  const QString code = QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0');
  return QStringLiteral("\"%1\" (U+%2)").arg(QString::fromUcs4(&c, 1), code);
}

}  // namespace

CommandBytes EncodeCommandText(const QString& text, AnsiCodePage code_page, int first_line) {
  const EncodedText encoded = AnsiCodec(code_page).Encode(WithCrLf(text));
  if (encoded.ok) return {encoded.bytes, {}};
  return {{},
          QStringLiteral("The character %1 on line %2 has no code in code page %3.")
              .arg(CharacterName(encoded.unrepresentable))
              .arg(static_cast<qulonglong>(encoded.line) + first_line - 1)
              .arg(static_cast<int>(code_page))};
}

LoadedText DecodeCommandText(std::span<const std::uint8_t> bytes, AnsiCodePage code_page,
                             const QString& file_name) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<std::size_t>(end - bytes.begin()));
  const DecodedText decoded = AnsiCodec(code_page).Decode(text);
  LoadedText loaded{QString::fromStdString(decoded.utf8), {}};
  if (decoded.undecodable > 0) {
    loaded.warning = QStringLiteral(
                         "%1 byte(s) of %2 have no character in code page %3 (the first at byte "
                         "%4); each is shown as \uFFFD.")
                         .arg(static_cast<qulonglong>(decoded.undecodable))
                         .arg(file_name)
                         .arg(static_cast<int>(code_page))
                         .arg(static_cast<qulonglong>(decoded.first_undecodable_offset));
  }
  return loaded;
}

}  // namespace vantrel::app
