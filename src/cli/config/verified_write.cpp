#include "cli/config/verified_write.h"

#include <iostream>

#include "ops/config_write_check.h"
#include "ops/dispatcher.h"
#include "ops/write_configuration.h"

namespace vantrel::cli {

int ReadPrinterConfig(CliContext& context, PrinterConfig& held) {
  ResetConfig(held);
  return context.Run(kOpReadConfiguration, &held, 1);
}

int ReadAndPlan(CliContext& context, const PrinterConfig& document, ConfigPage page,
                PrinterConfig& held, PageWritePlan& plan) {
  if (const int code = ReadPrinterConfig(context, held); code != 0) return code;
  plan = PlanPageWrite(document, held, page);
  if (!plan.document.failure.empty()) return Refuse(plan.document.failure);
  if (!plan.document.conversion.empty()) {
    std::cerr << "Lengths in dots " << plan.document.conversion << '\n';
  }
  return 0;
}

int WriteAndCheck(CliContext& context, const PrinterConfig& held, const PrinterConfig& written,
                  ConfigPage page) {
  PrinterConfig record = written;
  if (const int code = context.Run(kOpWriteConfiguration, &record, ConfigPageBlock(page));
      code != 0) {
    return code;
  }
  PrinterConfig now_held;
  if (const int code = context.ReadBack(page, held, now_held); code != 0) {
    std::cerr << "Written, not verified: the configuration could not be read back\n";
    return code;
  }
  const ConfigDifferences check = CompareWrittenItems(written, now_held, page);
  if (!check.unreported.empty()) {
    std::cerr << "Not reported by the printer, not verified: " << ItemList(check.unreported)
              << '\n';
  }
  if (!check.differing.empty()) {
    std::cerr << "Written, not verified\nDid not take: " << ItemList(check.differing) << '\n';
    return kResultReceivingError;
  }
  return 0;
}

}  // namespace vantrel::cli
