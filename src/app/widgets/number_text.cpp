#include "app/widgets/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace vantrel::app {
namespace {

[[noreturn]] void Fail(const QString& text, const char* kind) {
  throw ConversionError(
      QStringLiteral("'%1' is not a valid %2 value").arg(text, QLatin1String(kind)).toStdString());
}

// The text without surrounding spaces and without one leading '+', which from_chars refuses.
std::string NumberPart(const QString& text) {
  std::string part = text.trimmed().toStdString();
  if (part.size() > 1 && part.front() == '+' && part[1] != '-') part.erase(0, 1);
  return part;
}

template <typename T>
bool ParseWhole(const std::string& part, T& value) {
  const char* end = part.data() + part.size();
  const auto [ptr, ec] = std::from_chars(part.data(), end, value);
  return !part.empty() && ec == std::errc() && ptr == end;
}

}  // namespace

std::int32_t IntegerFromText(const QString& text) {
  std::int32_t value = 0;
  if (!ParseWhole(NumberPart(text), value)) Fail(text, "integer");
  return value;
}

double RealFromText(const QString& text) {
  double value = 0;
  if (!ParseWhole(NumberPart(text), value) || !std::isfinite(value)) {
    Fail(text, "floating point");
  }
  return value;
}

QString GeneralRealText(float value) {
  std::array<char, 32> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? QString::fromLatin1(text.data(), end - text.data()) : QString();
}

QString RangeText(int low, int high) {
  return QStringLiteral("%1 to %2").arg(low).arg(high);
}

QString OutOfRange(double value, double low, double high, const QString& field, const QString& text,
                   const QString& range) {
  if (value >= low && value <= high) return {};
  return QStringLiteral("%1: '%2' is too %3; %4")
      .arg(field, text.trimmed(), value > high ? "large" : "small", range);
}

void CheckRange(double value, double low, double high, const QString& field, const QString& text,
                const QString& range) {
  const QString refusal = OutOfRange(value, low, high, field, text, range);
  if (!refusal.isEmpty()) throw ConversionError(refusal.toStdString());
}

}  // namespace vantrel::app
