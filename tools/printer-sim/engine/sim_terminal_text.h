#pragma once

#include <string>
#include <string_view>

namespace vantrel::sim {

// A command as one printable log line: ESC, CR and LF become <ESC>, <CR>,
// <LF>; other control and non-ASCII bytes become <xx> in hex.
std::string ReadableCommand(std::string_view command);

}  // namespace vantrel::sim
