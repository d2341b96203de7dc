#pragma once

#include "common/result_code.h"
#include "config/printer_config.h"
#include "link/link_layer.h"

namespace vantrel {

inline constexpr std::string_view kSerialNumberQuestion = "OUT _SERIAL$\r\n";

// Operation 1: asks the printer for its whole configuration, one question per value, and fills
// `config`, which the caller has just reset. Every item read gets its flag; the rest stay as
// they were. On a result other than 0 the record is partly filled and is to be discarded.
ResultCode ReadConfiguration(LinkLayer& link, InterfaceKind interface, PrinterConfig& config);

}  // namespace vantrel
