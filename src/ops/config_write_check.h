#pragma once

#include <string>

#include "config/config_compare.h"
#include "config/config_resolution.h"

namespace vantrel {

// The same check tells, before a write, what it would change and, after it, what did not take:
// the set items of `page` whose command would carry another value than the printer holds (an
// item no command carries, or one it carries alike, cannot differ on the printer), and the set
// items the printer does not report. `written` is at the printer's resolution.
ConfigDifferences CompareWrittenItems(const PrinterConfig& written, const PrinterConfig& held,
                                      ConfigPage page);

// What writing one page of a document to a printer that reports `held` comes to.
struct PageWritePlan {
  DocumentAtPrinter document;  // what to write: the document at the printer's resolution
  ConfigDifferences changes;   // what the write would change, and what cannot be verified
};

PageWritePlan PlanPageWrite(const PrinterConfig& document, const PrinterConfig& held,
                            ConfigPage page);

}  // namespace vantrel
