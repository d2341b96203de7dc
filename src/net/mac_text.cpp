#include "net/mac_text.h"

#include <cstdio>

namespace vantrel {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string FormatMacText(const MacAddress& mac) {
  std::array<char, 18> text{};
  std::snprintf(text.data(), text.size(), "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  return text.data();
}

std::optional<MacAddress> ParseMacText(std::string_view text) {
  MacAddress mac{};
  // Two digits per byte and a colon between bytes: 17 characters exactly.
  if (text.size() != mac.size() * 3 - 1) return std::nullopt;
  for (std::size_t i = 0; i < mac.size(); ++i) {
    const std::size_t at = i * 3;
    if (i > 0 && text[at - 1] != ':') return std::nullopt;
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    mac[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return mac;
}

}  // namespace vantrel
