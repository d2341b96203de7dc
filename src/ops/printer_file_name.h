#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// Why `name` cannot travel inside the quotes of a DOWNLOAD or LOAD command, or empty when it
// can: a double quote or any control byte would end or break the command, and a name longer
// than `max_length` would not fit the printer's field. Names are refused, never cut.
std::string PrinterFileNameRefusal(std::string_view name, std::size_t max_length);

// The first `count` characters of a UTF-8 text, never part of one; a byte that starts no
// well-formed character counts as one.
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace vantrel
