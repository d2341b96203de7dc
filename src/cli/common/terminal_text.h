#pragma once

#include <string>
#include <string_view>

namespace vantrel::cli {

// A text that came from a printer or the network, made safe for a terminal: every byte outside
// printable ASCII is shown as \xNN, so no line break, escape sequence or stray byte can forge
// output rows or drive the terminal, and a backslash as \\, so that the text "\x07" cannot
// pass for an escaped byte.
std::string PrintableText(std::string_view bytes);

}  // namespace vantrel::cli
