#include "ops/printer_file_name.h"

#include "common/quoted_text.h"

namespace vantrel {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the well-formed character at the start of `text`, or 1.
std::size_t CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 1;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[i]))) return 1;
  }
  return length;
}

}  // namespace

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t end = 0;
  for (; count > 0 && end < utf8.size(); --count) end += CharacterLength(utf8.substr(end));
  return utf8.substr(0, end);
}

std::string PrinterFileNameRefusal(std::string_view name, std::size_t max_length) {
  if (name.empty()) return "The printer file name is empty";
  if (name.size() > max_length) {
    return "The printer file name \"" + std::string(name) + "\" is longer than " +
           std::to_string(max_length) + " characters";
  }
  if (BreaksQuotedField(name)) {
    return "The printer file name must not contain a double quote or a control character";
  }
  return {};
}

}  // namespace vantrel
