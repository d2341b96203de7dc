#pragma once

#include <span>
#include <string>
#include <vector>

#include "cli/cli_config_items.h"
#include "config/printer_config.h"

namespace vantrel::cli {

struct ItemRef {
  ConfigPage page;
  const ConfigItemRow* row;
};

struct ConfigDifferences {
  std::vector<ItemRef> differing;
  // Items left out because the second record does not hold them (a printer that does not
  // report them); empty unless asked for.
  std::vector<ItemRef> unreported;
};

// The items of `pages` that differ: set in one record only, or set in both with other values.
// With `skip_unset_in_b`, an item `b` does not hold is listed as unreported instead.
ConfigDifferences CompareConfigs(const PrinterConfig& a, const PrinterConfig& b,
                                 std::span<const ConfigPage> pages, bool skip_unset_in_b);

// What a write of `page` from `wanted` would change on a printer that reports `held`: the set
// items whose command would carry another value than the printer holds (a length in mm counts
// as held when it lands on the same dot), and the set items the printer does not report. The
// same check tells, before a write, what it would change and, after it, what did not take.
ConfigDifferences CompareWrittenItems(const PrinterConfig& wanted, const PrinterConfig& held,
                                      ConfigPage page);

// "Common / Paper Width, Z emulation / Darkness": the items for a message line.
std::string ItemList(const std::vector<ItemRef>& items);

}  // namespace vantrel::cli
