#pragma once

#include <string>
#include <vector>

#include "cli/fleet/fleet_report.h"
#include "config/config_compare.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// An item's value as a plan shows it: lengths in `unit`, with their dots beside them where the
// record holds them in dots ("4.00in (812)"), choices by word.
std::string PlannedValue(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit);

// "Paper Width 4.00in (812) -> 4.06in (825)".
std::string PlannedChangeText(const PlannedChange& change);

// The items a write would change, each with what the printer holds and what `written` (at the
// printer's resolution) gives it.
std::vector<PlannedChange> PlannedChanges(const ConfigDifferences& changes,
                                          const PrinterConfig& held, const PrinterConfig& written,
                                          LengthUnit unit);

}  // namespace vantrel::cli
