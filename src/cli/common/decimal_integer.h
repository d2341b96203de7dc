#pragma once

#include <CLI/CLI.hpp>

namespace vantrel::cli {

// Integer options are read as decimal, as the window's fields read them: left to itself the
// parser takes "0512" for octal and "0x41" for hexadecimal. Attach with `->transform(...)` so it
// runs before any range or member check; the text left for the parser has no leading zeros.

// An optional minus sign, then decimal digits.
CLI::Validator DecimalInteger();

// Decimal digits only, for unsigned values (the parser would wrap "-1" round to the maximum).
CLI::Validator DecimalCount();

// A TCP or UDP port by the one rule of the core (decimal digits, 1 to 65535) and its message.
CLI::Validator DecimalPort();

// An optional minus sign, then decimal digits with at most one decimal point, for real options:
// the parser would take "inf", "nan", "0x10" and "1e9" as well.
CLI::Validator DecimalReal();

}  // namespace vantrel::cli
