#pragma once

#include <nlohmann/json.hpp>

#include "config/printer_config.h"

namespace vantrel::cli {

// One object keyed by the record's field names; an unset item is null.
nlohmann::json ConfigJson(const PrinterConfig& config);

}  // namespace vantrel::cli
