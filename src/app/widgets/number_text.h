#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vantrel::app {

// A control's text that is not the number its item needs. The message is the one shown to the
// user: "'abc' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decimal integer that fits 32 bits; spaces around it are allowed. Throws ConversionError.
std::int32_t IntegerFromText(const QString& text);
// Decimal real with '.' as the separator, optionally with an exponent; it must be finite.
// Throws ConversionError.
double RealFromText(const QString& text);

// The general decimal text of a stored single-precision value widened to double, up to 15
// significant digits: 3 -> "3", 2.5 -> "2.5", 2.2f -> "2.20000004768372".
QString GeneralRealText(float value);

}  // namespace vantrel::app
