#pragma once

#include <ostream>

#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// The record laid out by page (identity, Common, Z, D), lengths in `unit`, unset items as "-".
void PrintConfigText(std::ostream& out, const PrinterConfig& config, LengthUnit unit);

}  // namespace vantrel::cli
