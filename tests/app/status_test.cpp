// "Get Status" and the four control buttons against the simulated printer.
#include <QLabel>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"

namespace vantrel::app::testing {
namespace {

constexpr const char* kLabels[] = {"LabelReady",      "LabelHeadOpen",  "LabelPaperJam",
                                   "LabelOutOfPaper", "LabelRibbonEnd", "LabelRibbonEncoder",
                                   "LabelPause",      "LabelPrintting", "LabelOtherError"};

QStringList LitLabels(const AppFixture& app) {
  QStringList lit;
  for (const char* name : kLabels) {
    if (app.Find<QLabel>(name).isEnabled()) lit << name;
  }
  return lit;
}

sim::SimState Printer(std::uint8_t status, std::uint8_t detail_fifth) {
  sim::SimState state;
  state.status_byte = status;
  state.detail[4] = detail_fifth;
  return state;
}

}  // namespace

class StatusTest : public QObject {
  Q_OBJECT

 private slots:
  void GetStatusLightsLabelsByTheSharedRule_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("detail");
    QTest::addColumn<QStringList>("lit");
    QTest::newRow("idle") << 0x00 << 0x0C << QStringList{"LabelReady"};
    QTest::newRow("bit 6 ignored") << 0x40 << 0x00 << QStringList{"LabelReady"};
    QTest::newRow("ribbon encoder") << 0x08 << 0x0C << QStringList{"LabelRibbonEncoder"};
    QTest::newRow("ribbon end") << 0x08 << 0x04 << QStringList{"LabelRibbonEnd"};
    QTest::newRow("ribbon, no detail") << 0x08 << 0x00 << QStringList{};
    QTest::newRow("detail without ribbon bit") << 0x00 << 0x08 << QStringList{"LabelReady"};
    QTest::newRow("head open, printing")
        << 0x21 << 0x00 << QStringList{"LabelHeadOpen", "LabelPrintting"};
  }

  void GetStatusLightsLabelsByTheSharedRule() {
    QFETCH(int, status);
    QFETCH(int, detail);
    QFETCH(QStringList, lit);
    AppFixture app({},
                   Printer(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(detail)));
    QVERIFY(app.ClickAndWait("ButtonGetStatus"));
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(LitLabels(app), lit);
    QCOMPARE(app.window->status().flags[0], std::uint8_t(status & 1));
  }

  void FailedStatusLeavesLabelsAndRecordAlone() {
    AppFixture app({}, Printer(0x21, 0));
    QVERIFY(app.ClickAndWait("ButtonGetStatus"));
    const StatusFlags before = app.window->status();
    // The printer can no longer be reached.
    sim::SimFaults faults;
    faults.refuse_connections = true;
    app.server.SetFaults(faults);
    QVERIFY(app.ClickAndWait("ButtonGetStatus"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("Port Open Error"));
    // The cause, then the hint on a line of its own.
    const QStringList detail = app.prompts.messages[0].detail.split('\n');
    QCOMPARE(detail.size(), 2);
    QVERIFY(detail[0].contains("refused"));
    QVERIFY(detail[1].startsWith("Run vantrel-cli doctor"));
    QCOMPARE(LitLabels(app), (QStringList{"LabelHeadOpen", "LabelPrintting"}));
    QVERIFY(app.window->status().flags == before.flags);
  }

  void ControlButtonsSendTheirCommands() {
    AppFixture app;
    for (const char* button :
         {"ButtonInitial", "ButtonSelfTest", "ButtonRestPrinter", "ButtonIgnoreAuto"}) {
      QVERIFY(app.ClickAndWait(button));
    }
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Received(4), std::string("INITIALPRINTER\r\nSELFTEST\r\n\x1b!R\x1b!C"));
  }
};

VANTREL_APP_TEST(StatusTest);

}  // namespace vantrel::app::testing

#include "status_test.moc"
