#pragma once

#include "cli/common/context.h"
#include "config/config_items.h"
#include "config/printer_config.h"

namespace vantrel::cli {

// The printer's whole configuration, in the progress window's steps.
int ReadPrinterConfig(CliContext& context, PrinterConfig& held);

// Writes `written`, already at the printer's resolution, as `page`; reads that page back and
// names the written items the printer does not hold (3) or does not report (a warning). `held`
// is what the printer held before.
int WriteAndCheck(CliContext& context, const PrinterConfig& held, const PrinterConfig& written,
                  ConfigPage page);

}  // namespace vantrel::cli
