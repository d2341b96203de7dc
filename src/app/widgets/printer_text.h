#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "common/ansi_code_page.h"

namespace vantrel::app {

// Printer texts (names, reported addresses) are bytes in the ANSI code page of the user's
// locale, as the printer's other tools write them. The window shows them decoded.
QString DecodePrinterText(const AnsiCodec& codec, std::string_view bytes);

// A typed text as the bytes of the code page; empty `refusal` when every character fits,
// otherwise a message naming the first one that does not.
struct PrinterTextBytes {
  std::string bytes;
  QString refusal;
};
PrinterTextBytes EncodePrinterText(const AnsiCodec& codec, const QString& text);

}  // namespace vantrel::app
