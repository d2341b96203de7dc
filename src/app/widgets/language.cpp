#include "app/widgets/language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTranslator>
#include <QWidget>

#include "app/widgets/radio_group.h"

namespace vantrel::app {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tab page's caption lives in its tab widget, two levels up (tab widget, stacked widget, page).
QTabWidget* TabWidgetOf(QWidget& page) {
  QWidget* stack = page.parentWidget();
  return stack == nullptr ? nullptr : qobject_cast<QTabWidget*>(stack->parentWidget());
}

void SetItem(QObject& control, int item, const QString& text) {
  if (auto* combo = qobject_cast<QComboBox*>(&control)) {
    if (item < combo->count()) combo->setItemText(item, text);
  } else if (auto* group = qobject_cast<RadioGroup*>(&control)) {
    group->SetItemText(item, text);
  }
}

template <typename Visit>
void ForEachName(std::string_view names, Visit visit) {
  while (!names.empty()) {
    const std::size_t space = names.find(' ');
    visit(names.substr(0, space));
    names = space == std::string_view::npos ? std::string_view{} : names.substr(space + 1);
  }
}

const char* QtTranslationName(LanguageIndex language) {
  switch (language) {
    case kTraditionalChinese:
      return "qtbase_zh_TW";
    case kSimplifiedChinese:
      return "qtbase_zh_CN";
    case kEnglish:
      break;
  }
  return nullptr;
}

}  // namespace

void UseQtTranslations(LanguageIndex language) {
  // One translator for the program's life, refilled on each change of language.
  static QTranslator* const translator = new QTranslator(QCoreApplication::instance());
  QCoreApplication::removeTranslator(translator);
  const char* name = QtTranslationName(language);
  if (name != nullptr &&
      translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
}

LanguageIndex LanguageForLocale(std::string_view locale_name) {
  const std::string_view base = locale_name.substr(0, locale_name.find_first_of(".@"));
  if (base == "zh_TW" || base == "zh-TW") return kTraditionalChinese;
  if (base == "zh_CN" || base == "zh-CN") return kSimplifiedChinese;
  return kEnglish;
}

void SetCaption(QObject& control, const QString& text) {
  if (auto* group = qobject_cast<QGroupBox*>(&control)) {
    group->setTitle(text);
  } else if (auto* label = qobject_cast<QLabel*>(&control)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
    button->setText(text);
  } else if (auto* menu = qobject_cast<QMenu*>(&control)) {
    menu->setTitle(text);
  } else if (auto* action = qobject_cast<QAction*>(&control)) {
    action->setText(text);
  } else if (auto* page = qobject_cast<QWidget*>(&control)) {
    if (QTabWidget* tabs = TabWidgetOf(*page)) tabs->setTabText(tabs->indexOf(page), text);
  }
}

void ApplyLocalizedTexts(QWidget& root, std::span<const LocalizedEntry> table,
                         LanguageIndex language) {
  for (const LocalizedEntry& entry : table) {
    const QString text = ToQString(entry.text.In(language));
    ForEachName(entry.controls, [&](std::string_view name) {
      auto* control = root.findChild<QObject*>(ToQString(name));
      if (control == nullptr) return;
      if (entry.item == kCaption) {
        SetCaption(*control, text);
      } else {
        SetItem(*control, entry.item, text);
      }
    });
  }
}

QString FieldCaption(std::span<const LocalizedEntry> table, std::string_view control) {
  const std::string_view caption = EnglishCaption(table, control);
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

}  // namespace vantrel::app
