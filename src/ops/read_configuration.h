#pragma once

#include <cstddef>

#include "common/result_code.h"
#include "config/config_items.h"
#include "config/printer_config.h"
#include "link/link_layer.h"

namespace vantrel {

inline constexpr std::string_view kSerialNumberQuestion = "OUT _SERIAL$\r\n";

// Operation 1: asks the printer for its whole configuration, one question per value, and fills
// `config`, which the caller has just reset. Every item read gets its flag; the rest stay as
// they were. On a result other than 0 the record is partly filled and is to be discarded.
ResultCode ReadConfiguration(LinkLayer& link, InterfaceKind interface, PrinterConfig& config);

// The read-back after a page was written: the announcement, the resolution and only the
// questions of that page (the common page with the ones older printers may not know), so a
// check costs a fraction of a whole read. `tolerated_answers` comes from ToleratedAnswers
// (ops/config_report_steps.h) of the read before the write. Fills `config` as ReadConfiguration
// does.
ResultCode ReadConfigurationPage(LinkLayer& link, InterfaceKind interface, ConfigPage page,
                                 std::size_t tolerated_answers, PrinterConfig& config);

}  // namespace vantrel
