#include "common/parse_digits.h"

#include <charconv>
#include <system_error>

namespace vantrel {

std::optional<int> ParseDigits(std::string_view digits) {
  // from_chars would take a leading minus sign.
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace vantrel
