#pragma once

#include <QString>

#include "config/printer_config.h"
#include "config/unit_conversions.h"

class QWidget;

namespace vantrel::app {

// The range the caption beside an integer edit states, "0 to 30"; the same range refuses a
// typed value outside it.
QString StatedRange(const char* control);

// Puts a record into the configuration controls below `root`, lengths in `unit`.
void ShowConfig(QWidget& root, const PrinterConfig& config, LengthUnit unit);

// Shows the lengths below `root` in `to` instead of `from`: an edit still showing the record's
// text shows the record's value again, an edited one its text converted. A text that is no
// number throws ConversionError, and then nothing has changed.
void ConvertShownLengths(QWidget& root, const PrinterConfig& config, LengthUnit from,
                         LengthUnit to);

// Takes the controls below `root` back into `config`, which must be the record last shown, in
// record order, lengths read in `unit`. An edit whose text the user has not changed since the
// record was shown keeps the record's value exactly (dots stay dots, millimetres stay
// millimetres); only edited texts are converted. An empty control or list clears its item's
// flag and leaves the value. A text that is not a
// number, or a number outside the item's range, throws ConversionError naming the field, with
// the items before it already collected: callers collect into a copy. The identity, the
// resolution and the reference items are never collected.
void CollectConfig(const QWidget& root, PrinterConfig& config, LengthUnit unit);

}  // namespace vantrel::app
