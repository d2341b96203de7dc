// The main window: start-up, calling pattern, progress window, enabling, status bar, languages.
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <cerrno>
#include <stdexcept>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/widgets/radio_group.h"

namespace vantrel::app::testing {
namespace {

OpenedTransport NoPrinter(InterfaceKind, const BoundLinkSettings&, const LinkWaits&) {
  return {nullptr, {kResultPortOpenError, ENODEV, "no printer attached"}};
}

// Reads that wait for minutes; the printer takes the connection and never answers.
void WaitLong(MainWindowOptions& options) {
  options.waits.net_read = std::chrono::minutes(10);
}
void Silence(AppFixture& app) {
  sim::SimFaults faults;
  faults.never_answer = true;
  app.server.SetFaults(faults);
}

QString Panel(const AppFixture& app, int index) {
  return app.Find<QLabel>(QStringLiteral("StatusBar1Panel%1").arg(index).toLatin1().constData())
      .text();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Larger desktop fonts (and the Chinese captions) need more room than the designed size:
  // the window grows to its layout's least size instead of squashing its controls.
  void LargerFontsGrowTheWindowToItsLayout() {
    AppFixture app;
    QFont large = app.window->font();
    large.setPointSize(large.pointSize() + 5);
    app.window->setFont(large);
    app.Choose("ComboBoxLanguage", kTraditionalChinese);
    const QSize least = app.window->minimumSizeHint();
    QVERIFY(app.window->width() >= least.width());
    QVERIFY(app.window->height() >= least.height());
    QVERIFY(app.window->height() - app.window->menuBar()->sizeHint().height() >
            TFormMain::kClientHeight);
  }

  void StartsWithoutPrinterSilentlyOnDefaults() {
    AppFixture app([](MainWindowOptions& o) {
      o.interface = kInterfaceUsb;
      o.opener = NoPrinter;
    });
    app.window->StartUp();
    QVERIFY(app.WaitIdle());
    QVERIFY(app.prompts.messages.empty());
    QVERIFY(app.window->isEnabled());
    QCOMPARE(app.window->windowTitle(), QString("Vantrel"));
    QCOMPARE(app.window->width(), TFormMain::kClientWidth);
    QCOMPARE(app.window->height() - app.window->menuBar()->sizeHint().height(),
             TFormMain::kClientHeight);
    QCOMPARE(app.window->pos(), QPoint(60, 60));
    for (const char* edit :
         {"EditSpeed", "EditWidth", "EditDarknessZ", "EditHeatD", "EditVersion"}) {
      QVERIFY2(app.Text(edit).isEmpty(), edit);
    }
    QCOMPARE(app.Find<QComboBox>("ComboBoxMediaSensor").currentIndex(), -1);
    QCOMPARE(app.Find<QComboBox>("ComboBoxInterFace").currentIndex(), int(kInterfaceUsb));
    QCOMPARE(app.Find<QTabWidget>("PageControl1").currentIndex(), 0);
    QCOMPARE(app.Find<RadioGroup>("RadioGroupUnit").ItemIndex(), 0);
    QVERIFY(!app.Find<QLabel>("LabelReady").isEnabled());
    QCOMPARE(app.Find<QLabel>("LabelUnit8").text(), QString("inch"));
  }

  void SlowPrinterKeepsWindowResponsiveAndReportsFailure() {
    AppFixture app;
    sim::SimFaults faults;
    faults.never_answer = true;
    app.server.SetFaults(faults);
    app.window->move(100, 50);
    app.Find<QPushButton>("ButtonRead").click();
    // The event loop keeps running while the read waits: the progress window comes up.
    QVERIFY(QTest::qWaitFor([&] { return app.window->progress_window().window() != nullptr; }));
    QVERIFY(!app.window->centralWidget()->isEnabled());
    TFormProcess* progress = app.window->progress_window().window();
    const QRect frame = app.window->frameGeometry();
    QCOMPARE(progress->pos(),
             QPoint(frame.x() + frame.width() / 3, frame.y() + frame.height() / 3));
    QCOMPARE(progress->size(), QSize(241, 49));
    QCOMPARE(progress->windowTitle(), QString("Communicating..."));
    QCOMPARE(progress->ProgressBar1->geometry(), QRect(16, 16, 209, 17));
    QVERIFY(app.WaitIdle());
    QVERIFY(app.window->isEnabled());
    QTRY_VERIFY(app.window->progress_window().window() == nullptr);
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("Data Receiving Error"));
    QVERIFY(app.prompts.messages[0].detail.contains("check the cable", Qt::CaseInsensitive));
  }

  // The window says what it waits for, and the user can stop waiting.
  void CancelEndsAnOperationThatWaitsForASilentPrinter() {
    AppFixture app(WaitLong);
    Silence(app);
    app.Find<QPushButton>("ButtonRead").click();
    QVERIFY(!app.window->centralWidget()->isEnabled());
    QVERIFY(app.Find<QWidget>("PanelBusy").isVisibleTo(app.window.get()));
    QVERIFY(app.Find<QWidget>("PanelBusy").isEnabled());
    const QLabel& label = app.Find<QLabel>("LabelBusy");
    QVERIFY2(
        label.text().startsWith(
            QStringLiteral("Reading the configuration · 127.0.0.1:%1 · ").arg(app.server.port())),
        qPrintable(label.text()));
    QVERIFY(QTest::qWaitFor([&] { return label.text().endsWith(" 1 s"); }, 10000));
    app.Find<QPushButton>("ButtonCancelOperation").click();
    // The read would wait for minutes: only the cancel ends it this soon.
    QVERIFY(app.WaitIdle());
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("The operation was cancelled"));
    QCOMPARE(app.prompts.messages[0].detail, QString("Nothing was changed on the printer."));
    QVERIFY(app.window->centralWidget()->isEnabled());
    QVERIFY(!app.Find<QWidget>("PanelBusy").isVisibleTo(app.window.get()));
  }

  void CloseBoxWhileBusyAsksThenCancelsAndCloses() {
    AppFixture app(WaitLong);
    Silence(app);
    app.window->show();
    app.Find<QPushButton>("ButtonRead").click();
    app.prompts.answers = {false, true};
    QVERIFY(!app.window->close());
    QVERIFY(app.window->busy());
    QVERIFY(!app.window->close());
    QVERIFY(app.WaitIdle());
    QTRY_VERIFY(!app.window->isVisible());
    QVERIFY(app.prompts.messages.empty());
  }

  void ProgressOriginIsAThirdIntoTheWindow() {
    const ProgressOrigin origin = ProgressOriginFor(100, 50, 692, 630);
    QCOMPARE(origin.x, 330);
    QCOMPARE(origin.y, 260);
  }

  void ExceptionFromAnOperationIsShownAndTheProgramGoesOn() {
    AppFixture app([](MainWindowOptions& o) {
      o.opener = [](InterfaceKind, const BoundLinkSettings&, const LinkWaits&) -> OpenedTransport {
        throw std::runtime_error("transport exploded");
      };
    });
    QVERIFY(app.ClickAndWait("ButtonInitial"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("transport exploded"));
    QVERIFY(app.window->isEnabled());
  }

  void InterfaceChoiceEnablesTheButtons() {
    AppFixture app;
    auto enabled = [&](const char* name) { return app.Find<QPushButton>(name).isEnabled(); };
    QVERIFY(enabled("ButtonInterFace") && enabled("ButtonGetStatus") && enabled("ButtonRead"));
    app.Choose("ComboBoxInterFace", kInterfaceLpt);
    QVERIFY(enabled("ButtonInterFace"));
    QVERIFY(!enabled("ButtonGetStatus") && !enabled("ButtonRead"));
    QVERIFY(enabled("ButtonConfigSet") && enabled("ButtonRestPrinter"));
    app.Choose("ComboBoxInterFace", kInterfaceUsb);
    QVERIFY(!enabled("ButtonInterFace"));
    QVERIFY(enabled("ButtonGetStatus") && enabled("ButtonRead"));
  }

  void StatusBarShowsPortsThePrinterAndTicksTheClock() {
    AppFixture app;
    QCOMPARE(Panel(app, 0), QString("LPT1"));
    QCOMPARE(Panel(app, 1), QString("COM1 9600,N,8,1 RTS "));
    QCOMPARE(Panel(app, 2), QString("127.0.0.1:%1").arg(app.server.port()));
    QTRY_VERIFY_WITH_TIMEOUT(!Panel(app, 3).isEmpty(), 2500);
    QCOMPARE(app.window->findChild<QTimer*>("Timer1")->interval(), 1000);
  }

  // A Set that went through says what it wrote and where; one that a printer resetting half
  // way through cut short says nothing of the kind.
  void StatusBarSaysWhatASetDidAndWhere() {
    AppFixture app;
    QVERIFY(app.ClickAndWait("ButtonRead"));
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    const QString target = QStringLiteral("127.0.0.1:%1").arg(app.server.port());
    QCOMPARE(Panel(app, 2), "Common page written to " + target);
    sim::SimFaults faults;
    faults.close_after_bytes = 20;
    app.server.SetFaults(faults);
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(Panel(app, 2), target);
  }

  void LocaleChoosesTheStartLanguage() {
    const std::pair<const char*, int> cases[] = {
        {"zh_TW", 1}, {"zh_CN", 2}, {"zh_HK", 0}, {"de_DE", 0}, {"zh_TW.UTF-8", 1}};
    for (const auto& [locale, language] : cases) {
      AppFixture app([locale = locale](MainWindowOptions& o) { o.locale_name = locale; });
      QCOMPARE(app.Find<QComboBox>("ComboBoxLanguage").currentIndex(), language);
      QCOMPARE(int(app.window->language()), language);
    }
    AppFixture taiwan([](MainWindowOptions& o) { o.locale_name = "zh_TW"; });
    QCOMPARE(taiwan.Find<QLabel>("LabelSpeed").text(), QString("速度"));
    QCOMPARE(taiwan.Find<QGroupBox>("GroupBoxPrinterFunction").title(), QString("印表機功能"));
    QCOMPARE(taiwan.Find<QLabel>("LabelUnit1").text(), QString("英吋"));
  }

  void LanguageChangeKeepsSelectionsAndRelabelsUnits() {
    AppFixture app;
    auto& sensor = app.Find<QComboBox>("ComboBoxMediaSensor");
    sensor.setCurrentIndex(2);
    QCOMPARE(sensor.currentText(), QString("Black Mark"));
    app.Find<RadioGroup>("RadioGroupUnit").SetItemIndex(1);
    emit app.Find<RadioGroup>("RadioGroupUnit").Clicked(1);
    app.Choose("ComboBoxLanguage", 1);
    QCOMPARE(sensor.currentIndex(), 2);
    QCOMPARE(sensor.currentText(), QString("黑標"));
    QCOMPARE(sensor.count(), 4);
    QVERIFY(sensor.itemText(0).isEmpty());
    QCOMPARE(app.Find<QLabel>("LabelUnit1").text(), QString("公厘"));
    QCOMPARE(app.Find<QLabel>("LabelUnit8").text(), QString("公厘"));
    QCOMPARE(app.Find<QTabWidget>("PageControl1").tabText(0), QString("印表機設定"));
    app.Choose("ComboBoxLanguage", 2);
    QCOMPARE(sensor.currentText(), QString("黑标"));
    QCOMPARE(app.Find<QLabel>("LabelUnit1").text(), QString("毫米"));
    QCOMPARE(app.window->findChild<QMenu*>("N1")->title(), QString("关于(&A)"));
    // Fixed lists and the status bar stay as they are.
    QCOMPARE(app.Find<QComboBox>("ComboBoxInterFace").itemText(3), QString("ETHERNET"));
    QCOMPARE(Panel(app, 1), QString("COM1 9600,N,8,1 RTS "));
  }

  void AboutBoxOpensFromTheMenu() {
    AppFixture app;
    QSize size;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      size = dialog.size();
      dialog.findChild<QPushButton*>("Button1")->click();
    };
    app.window->findChild<QAction*>("About1")->trigger();
    QCOMPARE(app.prompts.dialogs, std::vector<QString>{"TFormAbout"});
    QCOMPARE(size, QSize(206, 95));
  }
};

VANTREL_APP_TEST(MainWindowTest);

}  // namespace vantrel::app::testing

#include "main_window_test.moc"
