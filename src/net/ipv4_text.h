#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// An IPv4 address, first byte first (network order).
using Ipv4Bytes = std::array<std::uint8_t, 4>;

// Dotted decimal without leading zeros: C0 A8 01 64 gives "192.168.1.100".
std::string FormatIPv4(const Ipv4Bytes& address);

// Four decimal numbers of at most 255 (leading zeros allowed), each but the last followed by a
// dot and every dot by a digit. After the fourth number a dot is invalid and any other character
// ends the reading. nullopt when invalid.
std::optional<Ipv4Bytes> TryParseIPv4(std::string_view text);

// The same reading; an invalid text gives FF FF FF FF, indistinguishable from 255.255.255.255.
// Anything about to be sent uses TryParseIPv4 or IsCompleteIPv4Text instead.
Ipv4Bytes ParseIPv4(std::string_view text);

// True when the whole text is four dotted numbers as TryParseIPv4 reads them, nothing after.
bool IsCompleteIPv4Text(std::string_view text);

}  // namespace vantrel
