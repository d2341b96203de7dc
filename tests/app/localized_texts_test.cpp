// The language tables: complete, in the right code pages, and naming controls that exist.
#include "app/widgets/localized_texts.h"

#include <iconv.h>

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <string>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/dialogs/net_dialog_texts.h"
#include "app/dialogs/rtc_setup_dialog.h"
#include "app/dialogs/sensor_calibrate_dialog.h"
#include "app/tabs/command_tool_tab.h"
#include "app/widgets/failure_detail.h"
#include "app/widgets/language.h"
#include "app/widgets/operation_texts.h"

namespace vantrel::app::testing {
namespace {

// True when every character of the UTF-8 text has a place in the code page.
bool Representable(std::string_view utf8, const char* code_page) {
  iconv_t convert = iconv_open(code_page, "UTF-8");
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  std::string out(in.size() * 4 + 4, '\0');
  char* in_ptr = in.data();
  char* out_ptr = out.data();
  std::size_t in_left = in.size();
  std::size_t out_left = out.size();
  const std::size_t result = iconv(convert, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(convert);
  return result != static_cast<std::size_t>(-1) && in_left == 0;
}

std::vector<std::span<const LocalizedEntry>> AllTables() {
  return {MainWindowTexts(),    Rs232SetupTexts(), LptSetupTexts(),        NetSetupTexts(),
          EthernetSetupTexts(), RtcSetupTexts(),   SensorCalibrateTexts(), CommandToolTexts()};
}

std::string_view TextOf(std::string_view english, LanguageIndex language) {
  for (const LocalizedEntry& entry : MainWindowTexts()) {
    if (entry.text.In(kEnglish) == english) return entry.text.In(language);
  }
  return {};
}

}  // namespace

class LocalizedTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void TablesHaveTheirSizesAndNoEmptyText() {
    QCOMPARE(MainWindowTexts().size(), std::size_t{169});
    QCOMPARE(Rs232SetupTexts().size(), std::size_t{12});
    QCOMPARE(LptSetupTexts().size(), std::size_t{2});
    QCOMPARE(NetSetupTexts().size(), std::size_t{13});
    QCOMPARE(EthernetSetupTexts().size(), std::size_t{11});
    QCOMPARE(RtcSetupTexts().size(), std::size_t{10});
    QCOMPARE(SensorCalibrateTexts().size(), std::size_t{15});
    for (const auto& table : AllTables()) {
      for (const LocalizedEntry& entry : table) {
        for (int language = 0; language < kLanguageCount; ++language) {
          QVERIFY2(!entry.text.In(static_cast<LanguageIndex>(language)).empty(),
                   entry.controls.data());
        }
      }
    }
  }

  void ChineseTextsFitBig5AndGb2312() {
    for (const auto& table : AllTables()) {
      for (const LocalizedEntry& entry : table) {
        const std::string_view traditional = entry.text.In(kTraditionalChinese);
        const std::string_view simplified = entry.text.In(kSimplifiedChinese);
        QVERIFY2(Representable(traditional, "BIG5"), std::string(traditional).c_str());
        QVERIFY2(Representable(simplified, "GB2312"), std::string(simplified).c_str());
      }
    }
    for (const auto& texts : {OperationTextTable(), FailureHints()}) {
      for (const LocalizedText& text : texts) {
        QVERIFY(Representable(text.In(kTraditionalChinese), "BIG5"));
        QVERIFY(Representable(text.In(kSimplifiedChinese), "GB2312"));
      }
    }
    // The check itself can fail: a simplified-only character is not Big5.
    QVERIFY(!Representable("简", "BIG5"));
  }

  void QuotedTextsAreExact() {
    const std::tuple<const char*, const char*, const char*> quoted[] = {
        {"English", "英文", "英文"},
        {"Traditional Chinese", "繁體中文", "繁体中文"},
        {"Simplified Chinese", "簡體中文", "简体中文"},
        {"Printer Function", "印表機功能", "打印机功能"},
        {"mm", "公厘", "毫米"},
        {"ON", "開", "开"},
        {"OFF", "關", "关"},
    };
    for (const auto& [english, traditional, simplified] : quoted) {
      QCOMPARE(TextOf(english, kTraditionalChinese), std::string_view(traditional));
      QCOMPARE(TextOf(english, kSimplifiedChinese), std::string_view(simplified));
    }
    QCOMPARE(LptSetupTexts()[1].text.In(kTraditionalChinese), std::string_view("取消"));
  }

  void EveryNamedControlOfTheFirstTabExists() {
    // The table's entries after "Read" belong to later tabs.
    AppFixture app;
    bool past_first_tab = false;
    for (const LocalizedEntry& entry : MainWindowTexts()) {
      for (const QString& name : QString::fromLatin1(entry.controls).split(' ')) {
        const bool found = app.window->findChild<QObject*>(name) != nullptr;
        QVERIFY2(found || past_first_tab, qPrintable(name));
      }
      if (entry.controls == "ButtonRead") past_first_tab = true;
    }
  }

  // Texts that stayed English in the Chinese window, and Qt's own dialogs, which speak the
  // window's language only with Qt's translations loaded.
  void ChineseWindowLeavesNoEnglishCaption() {
    AppFixture app([](MainWindowOptions& options) { options.locale_name = "zh_TW"; });
    const auto& pages = app.Find<QTabWidget>("PageControl2");
    QCOMPARE(pages.tabText(0), QString("一般"));
    QCOMPARE(app.Find<QLabel>("LabelKm").text(), QString("公里"));
    QCOMPARE(app.Find<QGroupBox>("RadioGroupSelect").title(), QString("編輯器"));
    QCOMPARE(app.Find<QComboBox>("ComboBoxSEncode").itemText(0), QString("標準對應"));
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") != QString("Cancel"));
    app.Choose("ComboBoxLanguage", kEnglish);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
  }

  void LocaleNamesMapToLanguages() {
    QCOMPARE(LanguageForLocale("zh_TW"), kTraditionalChinese);
    QCOMPARE(LanguageForLocale("zh_TW.UTF-8"), kTraditionalChinese);
    QCOMPARE(LanguageForLocale("zh_CN"), kSimplifiedChinese);
    QCOMPARE(LanguageForLocale("zh_HK"), kEnglish);
    QCOMPARE(LanguageForLocale("zh"), kEnglish);
    QCOMPARE(LanguageForLocale("C"), kEnglish);
    QCOMPARE(ToLanguageIndex(3), kEnglish);
    QCOMPARE(ToLanguageIndex(-1), kEnglish);
  }
};

VANTREL_APP_TEST(LocalizedTextsTest);

}  // namespace vantrel::app::testing

#include "localized_texts_test.moc"
