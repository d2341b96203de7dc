#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// The unit a configuration file's stored unit index stands for: any index but that of
// millimetres shows inches, as in the app.
LengthUnit ShownUnit(std::int32_t unit_index);

// "mm" is millimetres, anything else inches.
LengthUnit UnitNamed(std::string_view name);

// The record laid out by page (identity, Common, Z, D), lengths in `unit`, unset items as "-".
void PrintConfigText(std::ostream& out, const PrinterConfig& config, LengthUnit unit);

}  // namespace vantrel::cli
