#include "link/port_name_number.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

namespace vantrel {

std::optional<int> ParseDecimal(std::string_view digits) {
  // from_chars would take a leading minus sign.
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<int> PortNameNumber(std::string_view name, std::string_view prefix, int max) {
  if (name.size() <= prefix.size()) return std::nullopt;
  const bool prefix_matches =
      std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
      });
  if (!prefix_matches) return std::nullopt;
  const std::optional<int> number = ParseDecimal(name.substr(prefix.size()));
  if (!number || *number < 1 || *number > max) return std::nullopt;
  return number;
}

}  // namespace vantrel
