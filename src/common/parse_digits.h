#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// The number that all of `digits` spell in decimal; nullopt when empty, not only digits, or
// beyond an int.
std::optional<int> ParseDigits(std::string_view digits);

}  // namespace vantrel
