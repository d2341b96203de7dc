#include "app/widgets/printer_text.h"

namespace vantrel::app {

QString DecodePrinterText(const AnsiCodec& codec, std::string_view bytes) {
  const std::string utf8 = codec.Decode(bytes).utf8;
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

PrinterTextBytes EncodePrinterText(const AnsiCodec& codec, const QString& text) {
  const EncodedText encoded = codec.Encode(text.toStdString());
  if (encoded.ok) return {encoded.bytes, {}};
  const char32_t character = encoded.unrepresentable;
  return {{},
          QStringLiteral("'%1' cannot be written in the printer's code page %2")
              .arg(QString::fromUcs4(&character, 1))
              .arg(static_cast<int>(codec.code_page()))};
}

}  // namespace vantrel::app
