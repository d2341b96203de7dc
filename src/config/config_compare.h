#pragma once

#include <span>
#include <vector>

#include "config/config_items.h"

namespace vantrel {

// Whether two records hold the same setting, each value read at its own record's resolution and
// no finer than a printer or the shown text tells them apart: a length in dots is the same when
// it comes to the other's dots at the nearest dot (exactly at one resolution), or for the D
// emulation to the same hundredths of an inch it is written in; a length in millimetres when it
// shows alike ("0.00" mm) or lands on the same dot at either record's dots per millimetre; any
// other value when it is equal. The values of unset items are not looked at.
bool SameItemValue(const ConfigItem& item, const PrinterConfig& a, const PrinterConfig& b);

struct ConfigDifferences {
  std::vector<const ConfigItem*> differing;
  // Items the second record does not hold, left out of the comparison (a printer that does not
  // report them).
  std::vector<const ConfigItem*> unreported;
};

// Two documents: the items of `pages` set in one only, or set in both with other values.
ConfigDifferences CompareDocuments(const PrinterConfig& a, const PrinterConfig& b,
                                   std::span<const ConfigPage> pages);

// A document and what a printer reports: only the items the document sets and a write carries
// are compared; those the printer does not report are listed as unreported.
ConfigDifferences CompareWithPrinter(const PrinterConfig& document, const PrinterConfig& printer,
                                     std::span<const ConfigPage> pages);

}  // namespace vantrel
