// Typed lengths to dots without a detour through binary floating point.
#include <charconv>
#include <cmath>
#include <limits>

#include "config/unit_conversions.h"

namespace vantrel {
namespace {

// value = digits x 10^-scale; `digits` has no leading zeros (empty for zero).
struct Decimal {
  bool negative = false;
  std::string digits;
  std::int64_t scale = 0;
};

// Far beyond any length, small enough that scale arithmetic cannot overflow.
constexpr std::int64_t kExponentLimit = 100'000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// [+-]digits[.digits][e[+-]digits], at least one mantissa digit, nothing after it.
std::optional<Decimal> ParseDecimal(std::string_view text) {
  Decimal number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  bool any_digit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      any_digit = true;
      if (!number.digits.empty() || text[i] != '0') number.digits += text[i];
      if (point) ++number.scale;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative_exponent = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    std::int64_t exponent = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
    }
    number.scale += negative_exponent ? exponent : -exponent;
  }
  if (i != text.size()) return std::nullopt;
  return number;
}

// trunc(|number| x per_unit) for a whole per_unit of at most 2^31, by long multiplication:
// the whole part times per_unit, plus the carry out of the fraction digits.
std::optional<std::int64_t> TimesWhole(const Decimal& number, std::int64_t per_unit) {
  const auto length = static_cast<std::int64_t>(number.digits.size());
  const std::int64_t whole_length = length - number.scale;
  if (number.digits.empty() || whole_length < -20) return 0;  // below one dot
  if (whole_length > 10) return std::nullopt;
  std::int64_t whole = 0;
  for (std::int64_t k = 0; k < whole_length; ++k) {
    whole = whole * 10 + (k < length ? number.digits[static_cast<std::size_t>(k)] - '0' : 0);
  }
  if (whole > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  std::int64_t carry = 0;
  for (std::int64_t k = length - 1; k >= whole_length; --k) {
    const int digit = k >= 0 ? number.digits[static_cast<std::size_t>(k)] - '0' : 0;
    carry = (digit * per_unit + carry) / 10;
  }
  return whole * per_unit + carry;
}

std::optional<std::int32_t> Signed(bool negative, std::optional<std::int64_t> magnitude) {
  if (!magnitude) return std::nullopt;
  const std::int64_t value = negative ? -*magnitude : *magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> TimesFraction(std::string_view text, float per_unit) {
  if (text.starts_with('+')) text.remove_prefix(1);
  double shown = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), shown);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const long double dots = std::trunc(static_cast<long double>(shown) * per_unit);
  if (!(dots >= std::numeric_limits<std::int32_t>::min() &&
        dots <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(dots);
}

}  // namespace

std::optional<std::int32_t> DecimalTimesWhole(std::string_view text, std::int32_t per_unit) {
  const std::optional<Decimal> number = ParseDecimal(text);
  if (!number) return std::nullopt;
  const std::int64_t magnitude = per_unit < 0 ? -std::int64_t{per_unit} : per_unit;
  return Signed(number->negative != (per_unit < 0), TimesWhole(*number, magnitude));
}

std::optional<std::int32_t> ShownToDots(std::string_view text, LengthUnit unit,
                                        const PrinterConfig& config) {
  if (!ParseDecimal(text)) return std::nullopt;
  const float per_unit = unit == kUnitInch ? config.Dpi.value : config.DotsPerMm;
  // Bounded so that whole part x resolution stays far inside 64 bits.
  constexpr float kLargestWholeResolution = 1e9F;
  const bool whole = std::isfinite(per_unit) && per_unit >= 0 && std::trunc(per_unit) == per_unit &&
                     per_unit <= kLargestWholeResolution;
  if (!whole) return TimesFraction(text, per_unit);
  return DecimalTimesWhole(text, static_cast<std::int32_t>(per_unit));
}

}  // namespace vantrel
