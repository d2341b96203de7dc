#pragma once

#include <cstdint>
#include <string_view>

namespace vantrel {

// The leading-number parses of printer replies: optional leading blanks and a sign, then the
// number up to the first character that cannot continue it. They never fail: no digits give 0.

// Beyond the 32-bit range the value saturates.
std::int32_t ParseDecimalInteger(std::string_view text);

// Digits with an optional fraction and exponent; no "inf" or "nan". A number outside the range
// of a single-precision float gives 0. Independent of the C locale's decimal point.
float ParseDecimalReal(std::string_view text);

}  // namespace vantrel
