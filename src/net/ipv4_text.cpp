#include "net/ipv4_text.h"

#include <algorithm>

namespace vantrel {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads one number at `pos`: one or more digits whose value stays within 255.
std::optional<std::uint8_t> ReadOctet(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || !IsDigit(text[pos])) return std::nullopt;
  unsigned value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    value = value * 10 + static_cast<unsigned>(text[pos] - '0');
    if (value > 255) return std::nullopt;
    ++pos;
  }
  return static_cast<std::uint8_t>(value);
}

// The parsed address and where the reading stopped.
std::optional<std::pair<Ipv4Bytes, std::size_t>> ReadIPv4(std::string_view text) {
  Ipv4Bytes address{};
  std::size_t pos = 0;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') return std::nullopt;
      ++pos;
    }
    const std::optional<std::uint8_t> octet = ReadOctet(text, pos);
    if (!octet) return std::nullopt;
    address[i] = *octet;
  }
  if (pos < text.size() && text[pos] == '.') return std::nullopt;
  return std::pair{address, pos};
}

}  // namespace

std::string FormatIPv4(const Ipv4Bytes& address) {
  std::string text;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(address[i]);
  }
  return text;
}

std::optional<Ipv4Bytes> TryParseIPv4(std::string_view text) {
  const auto read = ReadIPv4(text);
  if (!read) return std::nullopt;
  return read->first;
}

Ipv4Bytes ParseIPv4(std::string_view text) {
  return TryParseIPv4(text).value_or(Ipv4Bytes{0xFF, 0xFF, 0xFF, 0xFF});
}

bool IsCompleteIPv4Text(std::string_view text) {
  const auto read = ReadIPv4(text);
  return read && read->second == text.size();
}

}  // namespace vantrel
