// Every caption, list item and column title of the window and its dialogs is shown whole, in
// each language and at a larger desktop font.
#include "app/text_fit.h"

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
#include "servers/sim_udp_responder.h"

namespace vantrel::app::testing {
namespace {

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
      CheckMainWindowTextsFit(app, scale, QString(), unfit);
    }
    Report(unfit);
  }

  void DialogsShowTheirTextsWhole() {
    QStringList unfit;
    for (double scale : kScales) {
      AppFont font(scale);
      for (int language = 0; language < kLanguageCount; ++language) {
        const auto lang = static_cast<LanguageIndex>(language);
        const auto check = [&](QWidget& dialog, const char* name) {
          CheckTextsFit(dialog, FitWhere(name, language, scale), FitPicture(name, language, scale),
                        unfit);
        };
        ScriptedPrompts prompts;
        SerialSettings serial;
        // Port items name their devices: "COM1  /dev/ttyS0".
        TFormRs232Setup rs232(serial, lang, {{"COM1", "/dev/ttyS0"}, {"COM2", "/dev/ttyUSB0"}},
                              prompts);
        check(rs232, "rs232_setup");
        ParallelPortName parallel{"LPT1"};
        TFormLPTSetup lpt(parallel, lang, prompts);
        check(lpt, "lpt_setup");
        NetSettings net = InitialEthernetSettings();
        net.MacText = "02:11:22:33:44:5A";
        TFormEthernetSetup ethernet(net, {&prompts, lang, AnsiCodePage::kWestern, {}}, {});
        check(ethernet, "ethernet_setup");
        ClockSettings clock;
        TFormRTCSetup rtc(clock, ClockSource::kComputer, lang, {}, prompts);
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

  // Opened only as the window opens it, so that its discovery stays on loopback, where three
  // printers answer it: their names, MAC and IP addresses show whole too.
  void NetworkSetupShowsItsTextsWhole() {
    sim::SimUdpResponder printers(sim::MakeSimFleet(sim::SimNetState{}, 3));
    QVERIFY(printers.Start({"127.0.0.1", 0}).ok());
    QStringList unfit;
    for (double scale : kScales) {
      AppFont font(scale);
      AppFixture app([&](MainWindowOptions& options) { options.datagrams.port = printers.port(); });
      app.Choose("ComboBoxInterFace", kInterfaceEthernet);
      for (int language = 0; language < kLanguageCount; ++language) {
        app.Choose("ComboBoxLanguage", language);
        OpenNetSetup(app, [&](TFormNetSetup& dialog) {
          QCOMPARE(In<QTreeWidget>(dialog, "ListView1").topLevelItemCount(), 3);
          CheckTextsFit(dialog, FitWhere("net_setup", language, scale),
                        FitPicture("net_setup", language, scale), unfit);
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
