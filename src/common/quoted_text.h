#pragma once

#include <algorithm>
#include <string_view>

namespace vantrel {

// True when the text holds a byte that would end or break a command's quoted field:
// a double quote or any control byte.
inline bool BreaksQuotedField(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '"' || byte < 0x20 || byte == 0x7F;
  });
}

}  // namespace vantrel
