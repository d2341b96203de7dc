#include "cli/common/terminal_text.h"

#include <cstdio>

namespace vantrel::cli {

std::string PrintableText(std::string_view bytes) {
  std::string shown;
  shown.reserve(bytes.size());
  for (const unsigned char byte : bytes) {
    if (byte == '\\') {
      shown += "\\\\";
      continue;
    }
    if (byte >= 0x20 && byte < 0x7F) {
      shown += static_cast<char>(byte);
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof(escaped), "\\x%02X", byte);
    shown += escaped;
  }
  return shown;
}

}  // namespace vantrel::cli
