#pragma once

#include <string>

#include "config/config_items.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// An item's value as the CLI shows it: lengths in the unit (dots in the unit with the dots
// beside them), choices by name, "-" when unset.
std::string ItemCell(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit);

}  // namespace vantrel::cli
