#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/bounded_text.h"

namespace vantrel {

enum MediaType : std::int32_t { kMediaGap = 0, kMediaBlackMark = 1, kMediaContinuous = 2 };
enum CalibrationKind : std::int32_t { kCalibrateAutomatic = 0, kCalibrateManual = 1 };

// What the sensor calibration dialog asks operation 8 to do.
struct CalibrationRequest {
  static constexpr std::int32_t kMaxReference = 999;
  static constexpr std::int32_t kMaxIntensity = 99;

  std::uint8_t Confirmed = 0;  // 1 when the dialog was left with "Calibrate" or "Set"
  std::int32_t MediaType = kMediaContinuous;
  std::int32_t Kind = kCalibrateAutomatic;
  std::int32_t Reference = 512;  // manual only
  std::int32_t Intensity = 2;    // manual only
  std::int32_t PaperHeight = 0;  // dots, automatic only; 0: not given
  std::int32_t GapHeight = 0;    // dots, automatic only; 0: not given
  std::int32_t DotsPerUnit = 0;  // printer dots in one unit of the lengths the user types
};

// The dots per unit of a resolution (the configuration's dots per inch or per millimetre),
// truncated; 0 for one that is no number of dots at all (a damaged reply).
std::int32_t DotsPerUnitOf(float resolution);

// A typed length in dots: length x dots per unit, truncated toward zero and computed on the
// typed decimal digits, so 0.29 at 200 is 58. Nothing when the text is not a decimal number or
// the result does not fit the record.
std::optional<std::int32_t> LengthInDots(std::string_view text, std::int32_t dots_per_unit);

// Why the request cannot be sent, or empty: lengths must not be negative, and the reference
// and intensity must lie within what the dialog's edits can hold (0..999 and 0..99).
std::string CalibrationRefusal(const CalibrationRequest& request);

// The commands of the request's kind and media type.
CommandText CalibrationCommandText(const CalibrationRequest& request);

// Operation 8: the commands in one write, nothing read back. A refused request gives 5
// without opening the link.
ResultCode CalibrateSensor(LinkLayer& link, InterfaceKind interface,
                           const CalibrationRequest& request);

}  // namespace vantrel
