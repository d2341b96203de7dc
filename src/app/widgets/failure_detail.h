#pragma once

#include <QString>
#include <span>

#include "app/widgets/localized_texts.h"
#include "common/failure.h"

namespace vantrel::app {

// What a result-code message box says under its headline: the cause, naming the printer
// `target` ("127.0.0.1:9100", "/dev/ttyS0") where the cause does not, and what to try.
QString FailureDetail(const LinkFailure& failure, const QString& target, LanguageIndex language);
// Every localized hint, for the check that each fits its code page.
std::span<const LocalizedText> FailureHints();

}  // namespace vantrel::app
