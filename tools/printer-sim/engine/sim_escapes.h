#pragma once

#include <string_view>

namespace vantrel::sim {

// Immediate commands are ESC '!' and one code byte; the detail query alone
// must be followed by CR LF. Each is recorded and dispatched as its raw bytes.
inline constexpr std::string_view kEscapePrefix = "\x1b!";
inline constexpr std::string_view kStatusQuery = "\x1b!?";
inline constexpr std::string_view kDetailQuery = "\x1b!S\r\n";

}  // namespace vantrel::sim
