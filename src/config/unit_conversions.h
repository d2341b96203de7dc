#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/printer_config.h"

namespace vantrel {

// The unit selector's index; saved with the record in configuration files.
enum LengthUnit : std::int32_t {
  kUnitInch = 0,
  kUnitMm = 1,
};

// The only length conversions of the program. A resolution that is not a positive number (a
// loaded file may hold 0) is never divided by: the conversions that would need it give no value.

// Whole dots per millimetre from the reported dots per inch, rounded to whole tenths and then to
// whole units. No value when the result would not be positive: it would later be divided by.
std::optional<float> DotsPerMmFromDpi(float dpi);

// Printer dots to stored millimetres.
std::optional<float> DotsToMm(std::int32_t dots, float dots_per_mm);

// Stored millimetres to the text shown in `unit`, "0.00".
std::string MmToText(float mm, LengthUnit unit);

// A value typed in `unit` to stored millimetres.
float ShownToMm(float shown, LengthUnit unit);

// Stored dots to the text shown in `unit`, "0.00"; empty when the resolution is unusable.
std::string DotsToText(std::int32_t dots, LengthUnit unit, const PrinterConfig& config);

// A length typed in `unit` ("4.10", "-.5", "1e-2") to stored dots, truncated toward zero. The
// typed decimal is multiplied exactly by a whole resolution, so 4.10 inch at 300 dpi is 1230 dots
// (a binary double of 4.10 would give 1229); a resolution with a fraction (the 11.8 default) is
// multiplied in extended precision. No value for a text that is not a decimal number or a result
// that does not fit.
std::optional<std::int32_t> ShownToDots(std::string_view text, LengthUnit unit,
                                        const PrinterConfig& config);

// A typed decimal length ("4.10", "-.5", "1e-2") times a whole number of dots per unit,
// truncated toward zero and computed exactly. No value for a text that is not a decimal number
// or a result that does not fit.
std::optional<std::int32_t> DecimalTimesWhole(std::string_view text, std::int32_t per_unit);

// A length in dots at one resolution (dots per inch) to the nearest dot at another, halves up,
// so that it keeps its length. No value when a resolution is unusable or the result does not fit.
std::optional<std::int32_t> ConvertDots(std::int32_t dots, float from_dpi, float to_dpi);

// Dots to hundredths of an inch, rounded; no value when the resolution is unusable or the
// result does not fit.
std::optional<std::int32_t> DotsToHundredthsInch(std::int32_t dots, float dpi);

// "0.00": two decimals, halves rounded away from zero, never "-0.00"; empty for a value that is
// not finite or too long to show.
std::string FormatHundredths(long double value);

}  // namespace vantrel
