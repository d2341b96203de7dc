#pragma once

#include "config/printer_config.h"
#include "ops/command_writer.h"

namespace vantrel {

// The commands of each page of the configuration, in the order the printer expects them.
// Only set items are sent; a choice whose value lies outside its table sends nothing.
void WriteCommonBlock(CommandWriter& out, const PrinterConfig& c);
void WriteZBlock(CommandWriter& out, const PrinterConfig& c);
void WriteDBlock(CommandWriter& out, const PrinterConfig& c);

}  // namespace vantrel
