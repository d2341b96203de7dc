#pragma once

#include <QString>
#include <span>

#include "app/widgets/localized_texts.h"
#include "ops/operation_record.h"

namespace vantrel::app {

// How a piece of work is named while it runs and after it ends.
struct WorkTexts {
  QString what;            // the busy panel's: what runs
  bool on_printer = true;  // the busy panel names the printer beside it
  QString done;            // the status bar's after success, "%1" the printer; empty: nothing
  QString cancelled;       // under "The operation was cancelled": where the printer may stand
};

// How the window names an operation: the busy panel's "Reading the configuration", "Loading
// DUMP.TXT" (downloads and loads name their printer file); the status bar's "Common page
// written to %1" after a Set, a download, a factory default or a format; and where the printer
// may stand after a cancel.
WorkTexts OperationTexts(int op, const OperationRecord& record, int extra, LanguageIndex language);
// The font tab's work: making a font into a file, or making it and downloading it as
// `download` says.
WorkTexts FontWorkTexts(const DownloadRequest* download, LanguageIndex language);
// Every localized text above, for the check that each fits its code page.
std::span<const LocalizedText> OperationTextTable();

}  // namespace vantrel::app
