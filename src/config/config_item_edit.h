#pragma once

#include <span>
#include <string>
#include <string_view>

#include "config/printer_config.h"

namespace vantrel {

// Applies "KEY=VALUE" assignments in order, with the checks the window makes on a typed value:
// "Common.PaperWidth=4.00in", "=101.6mm", "Z.PrintWidth=812dots", "Common.MediaSensor=Gap",
// "Z.ControlPrefix=~". "KEY=" unsets the item and keeps its value, as an emptied field does.
// Returns the refusal of the first assignment at fault, naming its key and the reason (a key no
// item has, an item the printer only reports, a value not of the item's kind, unit or choices,
// a value outside the item's range); `config` is then left as it was. Empty on success.
std::string ApplyConfigEdits(PrinterConfig& config, std::span<const std::string> assignments);

}  // namespace vantrel
