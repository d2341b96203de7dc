#pragma once

#include <string>

#include "config/printer_config.h"

namespace vantrel {

// Why a record cannot be sent as it stands, naming the first field at fault, or empty when it
// can: every number that is used must be finite, and the Z prefix and delimiter characters must
// not be control bytes, which would end or garble the commands that carry them.
std::string ConfigValueRefusal(const PrinterConfig& config);

}  // namespace vantrel
