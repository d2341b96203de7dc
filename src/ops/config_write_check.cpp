#include "ops/config_write_check.h"

#include <vector>

#include "ops/write_configuration.h"

namespace vantrel {

ConfigDifferences CompareWrittenItems(const PrinterConfig& written, const PrinterConfig& held,
                                      ConfigPage page) {
  ConfigDifferences result = CompareWithPrinter(written, held, std::span(&page, 1));
  const int block = ConfigPageBlock(page);
  const std::string sent = ConfigurationBlockText(written, block);
  std::erase_if(result.differing, [&](const ConfigItem* item) {
    PrinterConfig as_held = written;
    CopyItemValue(*item, as_held, held);
    return ConfigurationBlockText(as_held, block) == sent;
  });
  return result;
}

PageWritePlan PlanPageWrite(const PrinterConfig& document, const PrinterConfig& held,
                            ConfigPage page) {
  PageWritePlan plan{DocumentAtResolution(document, held), {}};
  if (plan.document.failure.empty()) {
    plan.changes = CompareWrittenItems(plan.document.config, held, page);
  }
  return plan;
}

}  // namespace vantrel
