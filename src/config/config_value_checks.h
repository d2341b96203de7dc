#pragma once

#include <string>

#include "config/printer_config.h"

namespace vantrel {

// Why a record cannot be sent as it stands, naming the first field at fault and the range it
// left, or empty when it can: every number that is used must be finite, every set choice one of
// its list (or the value a read keeps for a name its table lacks), every other set number within
// five digits, and the Z prefix and delimiter characters must not be control bytes, which would
// end or garble the commands that carry them. A loaded file is checked with it.
std::string ConfigValueRefusal(const PrinterConfig& config);

}  // namespace vantrel
