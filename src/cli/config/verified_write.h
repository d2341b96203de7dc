#pragma once

#include "cli/common/context.h"
#include "config/config_items.h"
#include "config/printer_config.h"
#include "ops/config_write_check.h"

namespace vantrel::cli {

// The printer's whole configuration, in the progress window's steps.
int ReadPrinterConfig(CliContext& context, PrinterConfig& held);

// Reads what the printer holds into `held` and plans `page` of `document` against it at the
// printer's resolution, naming a conversion of lengths on the error stream; a document that
// cannot be converted is refused (6).
int ReadAndPlan(CliContext& context, const PrinterConfig& document, ConfigPage page,
                PrinterConfig& held, PageWritePlan& plan);

// Writes `written`, already at the printer's resolution, as `page`; reads that page back and
// names the written items the printer does not hold (3) or does not report (a warning). `held`
// is what the printer held before.
int WriteAndCheck(CliContext& context, const PrinterConfig& held, const PrinterConfig& written,
                  ConfigPage page);

}  // namespace vantrel::cli
