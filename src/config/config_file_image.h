#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/status_flags.h"
#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel {

// What a ".dcf" configuration file holds.
struct ConfigFileContents {
  std::int32_t unit = kUnitInch;  // the unit selector's index when saved
  PrinterConfig config;
  StatusFlags status;  // as last read from the printer
};

// The file: magic, version word, unit, the packed record and the ten status bytes, little-endian.
inline constexpr std::size_t kConfigFileSize = 638;
inline constexpr std::size_t kPrinterConfigImageSize = 616;
inline constexpr std::size_t kConfigImageOffset = 12;
inline constexpr std::size_t kStatusOffset = kConfigImageOffset + kPrinterConfigImageSize;
inline constexpr std::uint32_t kConfigFileMagic = 0x000055AA;
inline constexpr std::uint32_t kConfigFileVersion = 1;

using ConfigFileImage = std::array<std::uint8_t, kConfigFileSize>;

ConfigFileImage BuildConfigFileImage(const ConfigFileContents& contents);

// No value for fewer than kConfigFileSize bytes or a wrong magic. Bytes past the image are
// ignored, and so is the version word.
std::optional<ConfigFileContents> ParseConfigFileImage(std::span<const std::uint8_t> bytes);

}  // namespace vantrel
