// A laptop's 1366 x 768 screen at 1.25 scale (1093 x 614 in the window's pixels, with its own
// test environment): the main window fits it, at the default font and at a 120-dpi one, and
// every control can be scrolled to and read whole.
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/text_fit.h"

namespace vantrel::app::testing {

class SmallScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void MainWindowFitsAndEveryControlCanBeReached() {
    const QScreen& screen = *QGuiApplication::primaryScreen();
    QCOMPARE(screen.geometry().size(), QSize(1093, 614));
    QStringList unfit;
    for (const double scale : {1.0, 1.25}) {
      AppFont font(scale);
      AppFixture app([](MainWindowOptions& o) { o.waits.net_read = std::chrono::minutes(10); });
      app.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(app.window.get()));
      QVERIFY2(screen.availableGeometry().contains(app.window->frameGeometry()),
               qPrintable(QStringLiteral("font x%1").arg(scale)));
      auto& content = app.Find<QScrollArea>("ScrollBoxMain");
      for (const char* name : {"ButtonRead", "ButtonConfigSet", "ButtonClear", "ButtonSave",
                               "ButtonLoad", "RadioGroupUnit", "ButtonTestPatern"}) {
        auto& control = app.Find<QWidget>(name);
        content.ensureWidgetVisible(&control, 0, 0);
        QVERIFY2(control.visibleRegion().boundingRect() == control.rect(), name);
      }
      // The status bar stays in view, and with it Cancel while an operation waits.
      sim::SimFaults silent;
      silent.never_answer = true;
      app.server.SetFaults(silent);
      app.Find<QPushButton>("ButtonRead").click();
      auto& cancel = app.Find<QPushButton>("ButtonCancelOperation");
      QVERIFY(cancel.isVisible());
      QVERIFY(cancel.visibleRegion().boundingRect() == cancel.rect());
      cancel.click();
      QVERIFY(app.WaitIdle());
      CheckMainWindowTextsFit(app, scale, "_small_screen", unfit);
    }
    Report(unfit);
  }
};

VANTREL_APP_TEST(SmallScreenTest);

}  // namespace vantrel::app::testing

#include "small_screen_test.moc"
