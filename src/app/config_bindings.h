#pragma once

#include "config/printer_config.h"
#include "config/unit_conversions.h"

class QWidget;

namespace vantrel::app {

// Puts a record into the configuration controls below `root`, lengths in `unit`.
void ShowConfig(QWidget& root, const PrinterConfig& config, LengthUnit unit);

// Takes the controls below `root` back into `config`, in record order, lengths read in `unit`.
// An empty control or list clears its item's flag and leaves the value. A text that is not a
// number throws ConversionError, with the items before it already collected: callers collect
// into a copy. The identity, the resolution and the reference items are never collected.
void CollectConfig(const QWidget& root, PrinterConfig& config, LengthUnit unit);

}  // namespace vantrel::app
