#include "ops/decimal_reply.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace vantrel {
namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// Skips blanks and a sign; returns whether the number is negative.
bool TakeSign(std::string_view& text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  text.remove_prefix(at);
  return negative;
}

// The length of the leading "digits[.digits][e[sign]digits]"; 0 when there is no digit.
std::size_t RealPrefixLength(std::string_view text) {
  const std::size_t whole = SkipDigits(text, 0);
  std::size_t end = whole;
  if (end < text.size() && text[end] == '.') end = SkipDigits(text, end + 1);
  if (end == 0 || (whole == 0 && end == 1)) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
    const std::size_t digits_end = SkipDigits(text, exponent);
    if (digits_end > exponent) end = digits_end;
  }
  return end;
}

}  // namespace

std::int32_t ParseDecimalInteger(std::string_view text) {
  const bool negative = TakeSign(text);
  const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (std::size_t at = 0; at < text.size() && IsDigit(text[at]); ++at) {
    magnitude = std::min(limit, magnitude * 10 + (text[at] - '0'));
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

float ParseDecimalReal(std::string_view text) {
  const bool negative = TakeSign(text);
  const std::size_t length = RealPrefixLength(text);
  if (length == 0) return 0;
  float value = 0;
  if (std::from_chars(text.data(), text.data() + length, value).ec != std::errc()) return 0;
  return negative ? -value : value;
}

}  // namespace vantrel
