#include "config/unit_conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vantrel {
namespace {

// Slightly above 1/25.4: the factor the printer's own firmware tables were made with.
constexpr long double kInchPerMmForResolution = 0.0393700793L;
constexpr long double kInchPerMm = 0.039370078740157L;
constexpr long double kMmPerInch = 25.4L;

bool UsableResolution(float value) {
  return std::isfinite(value) && value > 0;
}

// Out-of-range values become infinities instead of undefined conversions.
float NarrowToFloat(long double value) {
  constexpr long double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

std::optional<std::int32_t> TruncToInt32(long double value) {
  const long double truncated = std::trunc(value);
  if (!(truncated >= std::numeric_limits<std::int32_t>::min() &&
        truncated <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(truncated);
}

// Every resolution a printer reports; far below the point where dots x 200 would overflow.
bool IsWholeResolution(float value) {
  return value <= 1e9F && std::trunc(value) == value;
}

}  // namespace

std::optional<float> DotsPerMmFromDpi(float dpi) {
  const long double tenths =
      std::trunc(static_cast<long double>(dpi) * kInchPerMmForResolution * 10);
  if (!std::isfinite(tenths) || tenths <= 0) return std::nullopt;
  const long double rounded = std::trunc((tenths + 5) / 10) * 10;
  // 1 to 4 tenths (about 3 to 12 dpi) round down to 0 dots per millimetre.
  if (rounded <= 0) return std::nullopt;
  return NarrowToFloat(rounded * 0.1L);
}

std::optional<float> DotsToMm(std::int32_t dots, float dots_per_mm) {
  if (!UsableResolution(dots_per_mm)) return std::nullopt;
  return NarrowToFloat(static_cast<long double>(dots) / dots_per_mm);
}

std::string MmToText(float mm, LengthUnit unit) {
  const long double shown = unit == kUnitInch ? mm * kInchPerMm : static_cast<long double>(mm);
  return FormatHundredths(shown);
}

float ShownToMm(float shown, LengthUnit unit) {
  return unit == kUnitInch ? NarrowToFloat(shown * kMmPerInch) : shown;
}

std::string DotsToText(std::int32_t dots, LengthUnit unit, const PrinterConfig& config) {
  const float per_unit = unit == kUnitInch ? config.Dpi.value : config.DotsPerMm;
  if (!UsableResolution(per_unit)) return {};
  if (!IsWholeResolution(per_unit))
    return FormatHundredths(static_cast<long double>(dots) / per_unit);
  // In whole numbers, so that an exact half (53 dots at 200 dpi, 0.265) rounds up as it should;
  // the quotient's binary value lies just below it.
  const auto whole = static_cast<std::int64_t>(per_unit);
  const std::int64_t magnitude = (std::abs(std::int64_t{dots}) * 200 / whole + 1) / 2;
  // Whole hundredths survive the division and FormatHundredths' own rounding unchanged.
  return FormatHundredths(static_cast<long double>(dots < 0 ? -magnitude : magnitude) / 100);
}

std::optional<std::int32_t> ConvertDots(std::int32_t dots, float from_dpi, float to_dpi) {
  if (!UsableResolution(from_dpi) || !UsableResolution(to_dpi)) return std::nullopt;
  if (from_dpi == to_dpi) return dots;
  if (!IsWholeResolution(from_dpi) || !IsWholeResolution(to_dpi)) {
    return TruncToInt32(std::floor(static_cast<long double>(dots) * to_dpi / from_dpi + 0.5L));
  }
  // In whole numbers, so that an exact half (1 dot from 2 to 3 dpi) goes up as it should.
  const auto from = static_cast<std::int64_t>(from_dpi);
  const std::int64_t twice = 2 * std::int64_t{dots} * static_cast<std::int64_t>(to_dpi) + from;
  const std::int64_t divisor = 2 * from;
  const std::int64_t quotient = twice / divisor - (twice % divisor < 0 ? 1 : 0);  // floor
  return TruncToInt32(static_cast<long double>(quotient));
}

std::optional<std::int32_t> DotsToHundredthsInch(std::int32_t dots, float dpi) {
  if (!UsableResolution(dpi)) return std::nullopt;
  return TruncToInt32(static_cast<long double>(dots) * 100 / dpi + 0.5L);
}

std::string FormatHundredths(long double value) {
  if (!std::isfinite(value)) return {};
  long double hundredths = std::round(value * 100);
  if (hundredths == 0) hundredths = 0;  // no "-0.00"
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%.2Lf", hundredths / 100);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) return {};
  return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace vantrel
