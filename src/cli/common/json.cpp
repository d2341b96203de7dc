#include "cli/common/json.h"

#include <charconv>
#include <iostream>
#include <string>

namespace vantrel::cli {

nlohmann::json PrinterText(std::string_view bytes) {
  std::string utf8;
  for (unsigned char byte : bytes) {
    if (byte < 0x80) {
      utf8 += static_cast<char>(byte);
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

nlohmann::json ShortestFloat(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof(text), value).ptr;
  // The double nearest to the shortest float text prints back as that same text.
  return std::stod(std::string(text, end));
}

void PrintJson(const nlohmann::json& document) {
  // ensure_ascii writes every code point above 0x7F as \u00XX.
  std::cout << document.dump(-1, ' ', true) << '\n';
}

}  // namespace vantrel::cli
