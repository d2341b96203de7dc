#pragma once

#include <span>
#include <string_view>

#include "app/widgets/localized_texts.h"

class QObject;
class QString;
class QWidget;

namespace vantrel::app {

// The language a locale name ("zh_TW", "zh_CN.UTF-8", "de_DE") starts the program in:
// Taiwan gives Traditional Chinese, the PRC Simplified Chinese, everything else English.
LanguageIndex LanguageForLocale(std::string_view locale_name);

// Qt's own texts (file, font and message dialogs, standard buttons) in `language`, where the
// system has their translations; English otherwise.
void UseQtTranslations(LanguageIndex language);

// Writes a table's texts of one language into the named controls below `root`. Lists have their
// items replaced in place, so their length, their other items and their selection survive.
// Controls that this build of the window does not have are passed over.
void ApplyLocalizedTexts(QWidget& root, std::span<const LocalizedEntry> table,
                         LanguageIndex language);

// The caption of a label, button, group box, check box, tab page, menu or menu item.
void SetCaption(QObject& control, const QString& text);

// The English caption `table` gives `control`, naming its field in messages (never localized).
QString FieldCaption(std::span<const LocalizedEntry> table, std::string_view control);

}  // namespace vantrel::app
