#include "ops/sensor_calibration.h"

#include <limits>

#include "config/unit_conversions.h"

namespace vantrel {
namespace {

constexpr const char* kManualReference = "SET SENSOR_REF MANUAL\r\n";
constexpr const char* kAutomaticReference = "SET SENSOR_REF AUTO\r\n";

// The printer measures the media itself, or, with both lengths given, detects with them.
void AppendAutomatic(CommandText& text, const CalibrationRequest& request) {
  if (request.MediaType == kMediaContinuous) {
    text.Append("%sGAP 0.12,0\r\nGAP 0,0\r\n", kAutomaticReference);
    return;
  }
  const char* detect = request.MediaType == kMediaBlackMark ? "BLINEDETECT" : "GAPDETECT";
  if (request.PaperHeight != 0 && request.GapHeight != 0) {
    text.Append("%s%s %d,%d\r\n", kManualReference, detect, request.PaperHeight, request.GapHeight);
  } else {
    text.Append("%s%s\r\n", kAutomaticReference, detect);
  }
}

void AppendManual(CommandText& text, const CalibrationRequest& request) {
  const char* media = request.MediaType == kMediaGap         ? "GAP 0.08,0"
                      : request.MediaType == kMediaBlackMark ? "BLINE 0.08,0"
                                                             : "GAP 0,0";
  // The printer takes the intensity first and the reference second.
  text.Append("%s%s\r\nSET GAP %d,%d\r\n", kManualReference, media, request.Intensity,
              request.Reference);
}

}  // namespace

std::int32_t DotsPerUnitOf(float resolution) {
  const bool fits = resolution > std::numeric_limits<std::int32_t>::min() - 1.0 &&
                    resolution < std::numeric_limits<std::int32_t>::max() + 1.0;
  return fits ? static_cast<std::int32_t>(resolution) : 0;
}

std::optional<std::int32_t> LengthInDots(std::string_view text, std::int32_t dots_per_unit) {
  return DecimalTimesWhole(text, dots_per_unit);
}

std::string CalibrationRefusal(const CalibrationRequest& request) {
  if (request.MediaType < kMediaGap || request.MediaType > kMediaContinuous) {
    return "Unknown media type " + std::to_string(request.MediaType);
  }
  if (request.Kind != kCalibrateAutomatic && request.Kind != kCalibrateManual) {
    return "Unknown calibration kind " + std::to_string(request.Kind);
  }
  if (request.Kind == kCalibrateManual) {
    if (request.Reference < 0 || request.Reference > CalibrationRequest::kMaxReference) {
      return "Sensor reference " + std::to_string(request.Reference) + " is not between 0 and " +
             std::to_string(CalibrationRequest::kMaxReference);
    }
    if (request.Intensity < 0 || request.Intensity > CalibrationRequest::kMaxIntensity) {
      return "Sensor intensity " + std::to_string(request.Intensity) + " is not between 0 and " +
             std::to_string(CalibrationRequest::kMaxIntensity);
    }
  } else if (request.PaperHeight < 0 || request.GapHeight < 0) {
    return "Paper height and gap must not be negative";
  }
  return {};
}

CommandText CalibrationCommandText(const CalibrationRequest& request) {
  CommandText text;
  if (request.Kind == kCalibrateManual) {
    AppendManual(text, request);
  } else {
    AppendAutomatic(text, request);
  }
  return text;
}

ResultCode CalibrateSensor(LinkLayer& link, InterfaceKind interface,
                           const CalibrationRequest& request) {
  if (!CalibrationRefusal(request).empty()) return kResultUnknownError;
  return SendInOneWrite(link, interface, CalibrationCommandText(request));
}

}  // namespace vantrel
