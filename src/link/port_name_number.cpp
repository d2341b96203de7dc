#include "link/port_name_number.h"

#include <algorithm>
#include <cctype>

#include "common/parse_digits.h"

namespace vantrel {

std::optional<int> PortNameNumber(std::string_view name, std::string_view prefix, int max) {
  if (name.size() <= prefix.size()) return std::nullopt;
  const bool prefix_matches =
      std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
      });
  if (!prefix_matches) return std::nullopt;
  const std::optional<int> number = ParseDigits(name.substr(prefix.size()));
  if (!number || *number < 1 || *number > max) return std::nullopt;
  return number;
}

}  // namespace vantrel
