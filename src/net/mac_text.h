#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

using MacAddress = std::array<std::uint8_t, 6>;

// "%02X:%02X:%02X:%02X:%02X:%02X", bytes in order.
std::string FormatMacText(const MacAddress& mac);

// Exactly six bytes of exactly two hexadecimal digits (either case), separated by single colons,
// nothing after the sixth. nullopt otherwise.
std::optional<MacAddress> ParseMacText(std::string_view text);

}  // namespace vantrel
