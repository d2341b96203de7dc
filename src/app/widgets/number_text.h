#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace vantrel::app {

// A control's text that is not the number its item needs. The message is the one shown to the
// user: "'abc' is not a valid integer value"; the detail, shown under it, names the field and
// what it takes.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& message, std::string detail = {})
      : std::runtime_error(message), detail_(std::move(detail)) {}

  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

// Runs `convert`; a ConversionError it throws goes on with the field named under its message:
// "<field> takes <takes>." ("Darkness takes a whole number from 0 to 30.").
template <typename Convert>
auto InField(const QString& field, const QString& takes, Convert convert) {
  try {
    return convert();
  } catch (const ConversionError& error) {
    throw ConversionError(error.what(),
                          QStringLiteral("%1 takes %2.").arg(field, takes).toStdString());
  }
}

// The range a field states: "0 to 30".
QString RangeText(int low, int high);
// Why `value`, typed as `text`, does not suit a field that takes low..high (shown as `range`):
// "Darkness: '99' is too large; 0 to 30". Empty when it does.
QString OutOfRange(double value, double low, double high, const QString& field, const QString& text,
                   const QString& range);
// Throws ConversionError with OutOfRange's message when it has one.
void CheckRange(double value, double low, double high, const QString& field, const QString& text,
                const QString& range);

// Decimal integer that fits 32 bits; spaces around it are allowed. Throws ConversionError.
std::int32_t IntegerFromText(const QString& text);
// Decimal real with '.' as the separator, optionally with an exponent; it must be finite.
// Throws ConversionError.
double RealFromText(const QString& text);

// The shortest decimal text that reads back as the same single-precision value: 3 -> "3",
// 2.5 -> "2.5", 2.2f -> "2.2".
QString GeneralRealText(float value);

}  // namespace vantrel::app
