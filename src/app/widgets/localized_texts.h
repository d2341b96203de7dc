#pragma once

#include <array>
#include <span>
#include <string_view>

namespace vantrel::app {

// 0 English, 1 Traditional Chinese, 2 Simplified Chinese: the item order of the Language box.
enum LanguageIndex : int {
  kEnglish = 0,
  kTraditionalChinese = 1,
  kSimplifiedChinese = 2,
};
inline constexpr int kLanguageCount = 3;

// Any value outside 0..2 means English.
LanguageIndex ToLanguageIndex(int value);

// One text in the three languages, held as UTF-8. The Traditional Chinese texts stay within
// Big5 and the Simplified ones within GB2312, the code pages these printers' users work in.
struct LocalizedText {
  std::array<std::string_view, kLanguageCount> texts;

  std::string_view In(LanguageIndex language) const { return texts[language]; }
};

// An entry's place in a window: the caption of each named control, or one item of each named
// list (the lists that share an entry carry the same item at the same position).
inline constexpr int kCaption = -1;

struct LocalizedEntry {
  std::string_view controls;  // object names, separated by single spaces
  int item;                   // kCaption or the item's index
  LocalizedText text;
};

// The English caption a table gives the control named `control`, empty when it gives none:
// messages, which are never localized, name fields by it.
std::string_view EnglishCaption(std::span<const LocalizedEntry> table, std::string_view control);

// The main window's table (169 entries), in the order ApplyLanguage walks it.
std::span<const LocalizedEntry> MainWindowTexts();
// The serial settings dialog's table (12 entries) and the parallel settings dialog's (2).
std::span<const LocalizedEntry> Rs232SetupTexts();
std::span<const LocalizedEntry> LptSetupTexts();

}  // namespace vantrel::app
