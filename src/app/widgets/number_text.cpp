#include "app/widgets/number_text.h"

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
  return QString::number(static_cast<double>(value), 'g', 15);
}

}  // namespace vantrel::app
