#pragma once

#include <QString>
#include <span>

#include "app/widgets/localized_texts.h"
#include "ops/operation_record.h"

namespace vantrel::app {

// What an operation is doing, as the busy panel names it: "Reading the configuration",
// "Loading DUMP.TXT" (downloads and loads name their printer file).
QString OperationText(int op, const OperationRecord& record, LanguageIndex language);
// Work that is no numbered operation: a font the font tab sends.
QString LinkWorkText(LanguageIndex language);
// Every text above, for the check that each fits its code page.
std::span<const LocalizedText> OperationTexts();

}  // namespace vantrel::app
