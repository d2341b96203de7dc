// Every caption, list item and column title of the window and its dialogs is shown whole, in
// each language and at a larger desktop font.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/dialogs/about_dialog.h"
#include "app/dialogs/dump_text_setup_dialog.h"
#include "app/dialogs/lpt_setup_dialog.h"
#include "app/dialogs/rs232_setup_dialog.h"
#include "app/dialogs/rtc_setup_dialog.h"
#include "app/dialogs/sensor_calibrate_dialog.h"
#include "app/tabs/preview_font_dialog.h"

namespace vantrel::app::testing {
namespace {

constexpr std::array<const char*, kLanguageCount> kLanguageNames = {"en", "zh_tw", "zh_cn"};

// The application font for the windows made while it lives; the default is restored after.
class AppFont {
 public:
  explicit AppFont(double scale) : saved_(QApplication::font()) {
    QFont font = saved_;
    font.setPointSizeF(saved_.pointSizeF() * scale);
    QApplication::setFont(font);
  }
  ~AppFont() { QApplication::setFont(saved_); }
  AppFont(const AppFont&) = delete;
  AppFont& operator=(const AppFont&) = delete;

 private:
  QFont saved_;
};

// Collects the texts that do not fit their controls; `where` names the window, language and font.
class FitCheck {
 public:
  explicit FitCheck(QString where) : where_(std::move(where)) {}

  void Window(QWidget& root) {
    for (QWidget* widget : root.findChildren<QWidget*>()) {
      if (widget->isVisible()) Control(*widget);
    }
  }

  const QStringList& unfit() const { return unfit_; }

 private:
  void Control(QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget); label && label->pixmap().isNull()) {
      Need(widget, label->text(), label->minimumSizeHint().width());
    } else if (auto* push = qobject_cast<QPushButton*>(&widget)) {
      const QStyle& style = *push->style();
      Need(widget, push->text(),
           Advance(widget, push->text()) + style.pixelMetric(QStyle::PM_ButtonMargin) +
               2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth));
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
      Need(widget, button->text(), button->sizeHint().width());  // with its indicator
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
      Need(widget, group->title(), group->minimumSizeHint().width());
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
      Items(*combo);
    } else if (auto* tabs = qobject_cast<QTabBar*>(&widget)) {
      Tabs(*tabs);
    } else if (auto* header = qobject_cast<QHeaderView*>(&widget)) {
      Columns(*header);
    }
  }

  static int Advance(const QWidget& widget, QString text) {
    return widget.fontMetrics().horizontalAdvance(text.remove('&'));
  }

  // What a parent clips away is lost as much as what the control itself lacks.
  static int Shown(QWidget& widget) { return widget.visibleRegion().boundingRect().width(); }

  void Need(QWidget& widget, const QString& text, int needed, int shown = -1) {
    if (text.isEmpty()) return;
    if (shown < 0) shown = Shown(widget);
    if (needed <= shown) return;
    // A list's header is named for its list.
    const QString name = widget.objectName().isEmpty() && widget.parentWidget() != nullptr
                             ? widget.parentWidget()->objectName() + " header"
                             : widget.objectName();
    unfit_ << QStringLiteral("%1 %2: \"%3\" needs %4 px, shows %5")
                  .arg(where_, name, text)
                  .arg(needed)
                  .arg(shown);
  }

  // The text field beside the arrow is the room an item has.
  void Items(QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    const int shown = field.width() - (combo.width() - Shown(combo));
    QString widest = combo.currentText();
    for (int i = 0; i < combo.count(); ++i) {
      if (Advance(combo, combo.itemText(i)) > Advance(combo, widest)) widest = combo.itemText(i);
    }
    Need(combo, combo.currentText(), Advance(combo, combo.currentText()), shown);
    Need(combo, widest, Advance(combo, widest), shown);
  }

  void Tabs(QTabBar& tabs) {
    for (int i = 0; i < tabs.count(); ++i) {
      const QRect tab = tabs.tabRect(i).intersected(tabs.visibleRegion().boundingRect());
      Need(tabs, tabs.tabText(i), Advance(tabs, tabs.tabText(i)), tab.width());
    }
  }

  void Columns(QHeaderView& header) {
    const int margin = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int i = 0; i < header.count(); ++i) {
      const QString text = header.model()->headerData(i, header.orientation()).toString();
      const int left = header.sectionViewportPosition(i);
      const int shown = std::min(left + header.sectionSize(i), header.viewport()->width()) - left;
      Need(header, text, Advance(header, text) + margin, shown);
    }
  }

  QString where_;
  QStringList unfit_;
};

QString Where(const char* window, int language, double scale) {
  return QStringLiteral("%1 [%2, font x%3]").arg(window, kLanguageNames[language]).arg(scale);
}

// Shows `window`, lets its layouts settle, checks it and, at the larger font, keeps a picture.
void Check(QWidget& window, const QString& where, const QString& picture, bool keep_picture,
           QStringList& unfit) {
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  FitCheck check(where);
  check.Window(window);
  unfit << check.unfit();
  if (!keep_picture) return;
  const QString dir = qEnvironmentVariable("VANTREL_SCREENSHOT_DIR", QDir::tempPath());
  QVERIFY(window.grab().save(dir + "/" + picture + ".png"));
}

void Report(const QStringList& unfit) {
  if (!unfit.isEmpty()) QFAIL(qPrintable("cut texts:\n" + unfit.join('\n')));
}

constexpr std::array<double, 2> kScales = {1.0, 1.25};

}  // namespace

class TextFitTest : public QObject {
  Q_OBJECT

 private slots:
  void MainWindowTabsShowTheirTextsWhole() {
    QStringList unfit;
    for (double scale : kScales) {
      AppFont font(scale);
      AppFixture app;
      auto& pages = app.Find<QTabWidget>("PageControl1");
      auto& config_pages = app.Find<QTabWidget>("PageControl2");
      // The clock shows from the start, so that it is measured with the rest.
      QVERIFY(!app.Find<QLabel>("StatusBar1Panel3").text().isEmpty());
      for (int language = 0; language < kLanguageCount; ++language) {
        app.Choose("ComboBoxLanguage", language);
        for (int page = 0; page < pages.count(); ++page) {
          pages.setCurrentIndex(page);
          const int config_count = page == 0 ? config_pages.count() : 1;
          for (int config_page = 0; config_page < config_count; ++config_page) {
            config_pages.setCurrentIndex(config_page);
            const QString name = QStringLiteral("main_window_tab%1_%2_%3")
                                     .arg(page + 1)
                                     .arg(config_page)
                                     .arg(kLanguageNames[language]);
            Check(*app.window, Where(qPrintable(name), language, scale), name + "_large",
                  scale > 1.0, unfit);
          }
        }
      }
    }
    Report(unfit);
  }

  void DialogsShowTheirTextsWhole() {
    QStringList unfit;
    for (double scale : kScales) {
      AppFont font(scale);
      const bool keep = scale > 1.0;
      for (int language = 0; language < kLanguageCount; ++language) {
        const auto lang = static_cast<LanguageIndex>(language);
        const auto check = [&](QWidget& dialog, const char* name) {
          const QString picture = QStringLiteral("%1_%2_large").arg(name, kLanguageNames[language]);
          Check(dialog, Where(name, language, scale), picture, keep, unfit);
        };
        ScriptedPrompts prompts;
        SerialSettings serial;
        TFormRs232Setup rs232(serial, lang, {});
        check(rs232, "rs232_setup");
        ParallelPortName parallel{"LPT1"};
        TFormLPTSetup lpt(parallel, lang);
        check(lpt, "lpt_setup");
        NetSettings net = InitialEthernetSettings();
        net.MacText = "02:11:22:33:44:5A";
        TFormEthernetSetup ethernet(net, {nullptr, lang, AnsiCodePage::kWestern, {}}, {});
        check(ethernet, "ethernet_setup");
        ClockSettings clock;
        TFormRTCSetup rtc(clock, lang, {}, prompts);
        check(rtc, "rtc_setup");
        for (const std::int32_t dots_per_unit : {8, 203}) {  // millimetres, then inches
          CalibrationRequest calibration;
          calibration.DotsPerUnit = dots_per_unit;
          TFormSensorCalibrate calibrate(calibration, lang, {}, prompts);
          check(calibrate, "sensor_calibrate");
        }
        DumpRequest dump;
        TFormDumpTextSetup dump_setup(dump, {}, AnsiCodePage::kWestern, prompts);
        check(dump_setup, "dump_text_setup");
        TFormAbout about;
        check(about, "about");
        TFormPreviewFont preview;
        check(preview, "preview_font");
      }
    }
    Report(unfit);
  }

  // Opened only as the window opens it, so that its discovery stays on loopback.
  void NetworkSetupShowsItsTextsWhole() {
    QStringList unfit;
    for (double scale : kScales) {
      AppFont font(scale);
      AppFixture app;
      app.Choose("ComboBoxInterFace", kInterfaceEthernet);
      for (int language = 0; language < kLanguageCount; ++language) {
        app.Choose("ComboBoxLanguage", language);
        const QString picture = QStringLiteral("net_setup_%1_large").arg(kLanguageNames[language]);
        OpenNetSetup(app, [&](TFormNetSetup& dialog) {
          Check(dialog, Where("net_setup", language, scale), picture, scale > 1.0, unfit);
        });
      }
    }
    Report(unfit);
  }

  void LanguageRoundTripReturnsToTheFreshSize() {
    for (double scale : kScales) {
      AppFont font(scale);
      AppFixture app;
      app.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(app.window.get()));
      const QSize fresh = app.window->size();
      app.Choose("ComboBoxLanguage", kTraditionalChinese);
      app.Choose("ComboBoxLanguage", kSimplifiedChinese);
      app.Choose("ComboBoxLanguage", kEnglish);
      QCoreApplication::processEvents();
      QCOMPARE(app.window->size(), fresh);
    }
  }

  void DefaultFontKeepsTheDesignedClientArea() {
    AppFixture app;
    app.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.window.get()));
    QCOMPARE(app.window->width(), TFormMain::kClientWidth);
    QCOMPARE(app.window->height() - app.window->menuBar()->sizeHint().height(),
             TFormMain::kClientHeight);
  }
};

VANTREL_APP_TEST(TextFitTest);

}  // namespace vantrel::app::testing

#include "text_fit_test.moc"
