#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// The three settings pages of a configuration, in record order; each is one write block.
enum class ConfigPage { kCommon, kZ, kD };
inline constexpr std::array<ConfigPage, 3> kConfigPages = {ConfigPage::kCommon, ConfigPage::kZ,
                                                           ConfigPage::kD};

// How one setting of the record is shown and compared.
struct ConfigItemRow {
  const char* label;
  // The value in the unit, lengths in dots with the dots beside them; "-" when unset.
  std::function<std::string(const PrinterConfig&, LengthUnit)> cell;
  std::function<bool(const PrinterConfig&)> is_set;
  // Both hold the same value (the values of unset items are not looked at).
  std::function<bool(const PrinterConfig&, const PrinterConfig&)> same_value;
  // Puts `from`'s value into `into`, leaving `into`'s flag as it is.
  std::function<void(PrinterConfig& into, const PrinterConfig& from)> copy_value;
  // Set for a length the record holds in millimetres and the printer keeps in whole dots.
  std::function<float(const PrinterConfig&)> millimetres;
};

std::span<const ConfigItemRow> ConfigPageRows(ConfigPage page);
// "Common", "Z emulation", "D emulation".
std::string_view ConfigPageTitle(ConfigPage page);
// "common", "z", "d": the names of --block.
std::string_view ConfigPageName(ConfigPage page);
// The page of a --block name; none for another name ("all").
std::optional<ConfigPage> ConfigPageNamed(std::string_view name);
// The write block of the page (kBlockCommon, ...).
int ConfigPageBlock(ConfigPage page);

}  // namespace vantrel::cli
