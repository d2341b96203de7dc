#include "cli/cli_config_compare.h"

#include <cmath>
#include <string>

#include "ops/write_configuration.h"

namespace vantrel::cli {
namespace {

// The printer keeps lengths in whole dots: a value it holds within a dot of the written one is
// the written one after its rounding.
bool SameDot(const ConfigItemRow& row, const PrinterConfig& wanted, const PrinterConfig& held) {
  if (!row.millimetres || !(held.DotsPerMm > 0)) return false;
  const double dots =
      (double{row.millimetres(wanted)} - double{row.millimetres(held)}) * double{held.DotsPerMm};
  return std::fabs(dots) < 1.0;
}

}  // namespace

ConfigDifferences CompareConfigs(const PrinterConfig& a, const PrinterConfig& b,
                                 std::span<const ConfigPage> pages, bool skip_unset_in_b) {
  ConfigDifferences result;
  for (const ConfigPage page : pages) {
    for (const ConfigItemRow& row : ConfigPageRows(page)) {
      const bool in_a = row.is_set(a);
      const bool in_b = row.is_set(b);
      if (skip_unset_in_b && !in_b) {
        if (in_a) result.unreported.push_back({page, &row});
        continue;
      }
      if (in_a != in_b || (in_a && !row.same_value(a, b))) result.differing.push_back({page, &row});
    }
  }
  return result;
}

ConfigDifferences CompareWrittenItems(const PrinterConfig& wanted, const PrinterConfig& held,
                                      ConfigPage page) {
  ConfigDifferences result;
  const int block = ConfigPageBlock(page);
  const std::string sent = ConfigurationBlockText(wanted, block);
  for (const ConfigItemRow& row : ConfigPageRows(page)) {
    if (!row.is_set(wanted)) continue;
    if (!row.is_set(held)) {
      result.unreported.push_back({page, &row});
      continue;
    }
    if (row.same_value(wanted, held) || SameDot(row, wanted, held)) continue;
    // An item no command carries, or carries alike, cannot differ on the printer.
    PrinterConfig as_held = wanted;
    row.copy_value(as_held, held);
    if (ConfigurationBlockText(as_held, block) != sent) result.differing.push_back({page, &row});
  }
  return result;
}

std::string ItemList(const std::vector<ItemRef>& items) {
  std::string list;
  for (const ItemRef& item : items) {
    if (!list.empty()) list += ", ";
    list += std::string(ConfigPageTitle(item.page)) + " / " + item.row->label;
  }
  return list;
}

}  // namespace vantrel::cli
