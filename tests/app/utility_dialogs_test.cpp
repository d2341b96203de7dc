// "RTC Setup", "Calibrate Sensor", "Dump Text" and "Print Test Page" as the user drives them,
// against the simulated printer (and a scripted parallel port).
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "ops/test_page.h"
#include "support/scripted_transport.h"

namespace vantrel::app::testing {
namespace {

template <typename Control>
Control& In(QDialog& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

void Type(QDialog& dialog, const char* edit, const QString& text) {
  In<QLineEdit>(dialog, edit).setText(text);
}

void Press(QDialog& dialog, const char* button) {
  In<QPushButton>(dialog, button).click();
}

bool Accepted(const QDialog& dialog) {
  return dialog.result() == QDialog::Accepted;
}

bool Received(const AppFixture& app, const std::string& command) {
  const std::vector<std::string> commands = app.printer.Commands();
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

QStringList Messages(const AppFixture& app) {
  QStringList texts;
  for (const auto& shown : app.prompts.messages) texts << shown.text;
  return texts;
}

sim::SimState ClockAt(int year, int month, int day) {
  sim::SimState state;
  sim::SetSimClockField(state.clock, sim::kSimYear, year);
  sim::SetSimClockField(state.clock, sim::kSimMonth, month);
  sim::SetSimClockField(state.clock, sim::kSimDay, day);
  return state;
}

// Plays the dump dialog: "Save to File", then "Set".
void DumpToFile(QDialog& dialog) {
  In<RadioGroup>(dialog, "RadioGroupDumpMode")
      .findChildren<QRadioButton*>()
      .at(kDumpToFile)
      ->click();
  Press(dialog, "ButtonOK");
}

std::string Slurp(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

constexpr std::array<const char*, 6> kClockEdits = {"EditYear", "EditMonth",  "EditDate",
                                                    "EditHour", "EditMinute", "EditSecond"};

}  // namespace

class UtilityDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void ClockDialogShowsThePrinterClockAndSetsWhatIsTyped() {
    AppFixture app({}, ClockAt(2031, 7, 9));
    QStringList shown;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      shown << dialog.windowTitle() << In<QLabel>(dialog, "LabelYear").text()
            << In<QLineEdit>(dialog, "EditYear").text() << In<QLineEdit>(dialog, "EditMonth").text()
            << In<QLineEdit>(dialog, "EditDate").text();
      const QStringList typed = {"1999", "12", "31", "23", "59", "58"};
      for (std::size_t i = 0; i < kClockEdits.size(); ++i) {
        Type(dialog, kClockEdits[i], typed[static_cast<int>(i)]);
      }
      Press(dialog, "ButtonSet");
    };
    QVERIFY(app.ClickAndWait("ButtonRTCSetTime"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(shown, (QStringList{"RTC Setup", "Year", "2031", "7", "9"}));
    app.Received(2);
    QVERIFY(Received(app, "YEAR = 99"));
    QVERIFY(Received(app, "SECOND = 58"));
    QVERIFY(app.prompts.messages.empty());
  }

  void ClockDialogKeepsBadValuesOpenAndCancelSendsNothing() {
    AppFixture app;
    QStringList outcomes;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      Type(dialog, "EditMonth", "x1");
      Press(dialog, "ButtonSet");
      outcomes << (Accepted(dialog) ? "closed" : "open");
      Type(dialog, "EditMonth", "13");
      Press(dialog, "ButtonSet");
      outcomes << (Accepted(dialog) ? "closed" : "open");
      Press(dialog, "ButtonCancel");
    };
    QVERIFY(app.ClickAndWait("ButtonRTCSetTime"));
    QCOMPARE(outcomes, (QStringList{"open", "open"}));
    QCOMPARE(Messages(app), (QStringList{"'x1' is not a valid integer value",
                                         "Month 13 is not between 1 and 12"}));
    QCOMPARE(app.prompts.messages[0].detail, QString("Month takes a whole number."));
    QTest::qWait(100);
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});  // the read only
  }

  // The parallel port cannot answer: nothing is asked, the dialog opens on the computer's clock.
  void ClockOnTheParallelPortOpensOnTheComputersClockAndSets() {
    auto script = std::make_shared<vantrel::testing::Script>();
    script->can_receive = false;
    AppFixture app([&](MainWindowOptions& o) {
      o.opener = vantrel::testing::ScriptedOpener(script);
      o.interface = kInterfaceLpt;
    });
    QString year;
    bool labelled = false;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      year = In<QLineEdit>(dialog, "EditYear").text();
      labelled = !In<QLabel>(dialog, "LabelComputerTime").isHidden();
      Press(dialog, "ButtonSet");
    };
    QVERIFY(app.ClickAndWait("ButtonRTCSetTime"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(year, QString::number(QDate::currentDate().year()));
    QVERIFY(labelled);
    const std::string sent = "YEAR = " + std::to_string(QDate::currentDate().year() % 100);
    QCOMPARE(script->written.substr(0, sent.size()), sent);
    QVERIFY(app.prompts.messages.empty());
  }

  // A clock that could not be read is not shown as zeros: the failure is, and no dialog.
  void ClockThatCannotBeReadShowsTheFailureAndNoDialog() {
    AppFixture app;
    sim::SimFaults faults;
    faults.refuse_connections = true;
    app.server.SetFaults(faults);
    QVERIFY(app.ClickAndWait("ButtonRTCSetTime"));
    QVERIFY(app.prompts.dialogs.empty());
    QCOMPARE(Messages(app), QStringList{"Port Open Error"});
    const QString detail = app.prompts.messages[0].detail;
    QVERIFY2(detail.startsWith(QStringLiteral("127.0.0.1:%1: ").arg(app.server.port())),
             qPrintable(detail));
    QVERIFY2(detail.contains("vantrel-cli doctor"), qPrintable(detail));
  }

  void CalibrationTakesItsUnitFromTheConfigurationTab() {
    AppFixture app;
    QStringList units;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      units << In<QLabel>(dialog, "LabelUnit1").text() << In<QLabel>(dialog, "LabelUnit2").text();
      Type(dialog, "EditHeight", "30");
      Type(dialog, "EditGap", "3");
      Press(dialog, "ButtonCalib");
    };
    RadioGroup& unit = app.Find<RadioGroup>("RadioGroupUnit");
    unit.SetItemIndex(kUnitMm);
    QVERIFY(app.ClickAndWait("ButtonSensorCalibrate"));
    unit.SetItemIndex(kUnitInch);
    app.prompts.on_dialog = [&](QDialog& dialog) {
      units << In<QLabel>(dialog, "LabelUnit1").text();
      In<RadioGroup>(dialog, "RadioGroupMediaType").SetItemIndex(kMediaBlackMark);
      Press(dialog, "ButtonSet");
    };
    QVERIFY(app.ClickAndWait("ButtonSensorCalibrate"));
    // Start values: 11.8 dots per mm (11 whole dots) and 200 dots per inch.
    QCOMPARE(units, (QStringList{"mm", "mm", "inch"}));
    app.Received(2);
    QVERIFY(Received(app, "GAPDETECT 330,33"));
    QVERIFY(Received(app, "SET GAP 2,512"));
    QVERIFY(Received(app, "BLINE 0.08,0"));
  }

  void DialogsTakeTheLanguageButNotInTheirWindowCaptions() {
    AppFixture app;
    app.Choose("ComboBoxLanguage", kTraditionalChinese);
    app.Find<RadioGroup>("RadioGroupUnit").SetItemIndex(kUnitMm);
    QStringList shown;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      shown << dialog.windowTitle();
      if (dialog.objectName() == "TFormSensorCalibrate") {
        shown << In<QLabel>(dialog, "LabelUnit2").text()
              << In<RadioGroup>(dialog, "RadioGroupMediaType").ItemText(2);
      } else {
        shown << In<QPushButton>(dialog, "ButtonCancel").text();
      }
    };
    QVERIFY(app.ClickAndWait("ButtonSensorCalibrate"));
    QVERIFY(app.ClickAndWait("ButtonRTCSetTime"));
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QCOMPARE(shown, (QStringList{"Sensor Calibration", "公厘", "連續紙", "RTC Setup", "取消",
                                 "Dump Text Setup", "Cancel"}));
  }

  void CalibrationKeepsBadValuesOpenAndCancelSendsNothing() {
    AppFixture app;
    QStringList outcomes;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      Type(dialog, "EditReference", "5x");
      Press(dialog, "ButtonSet");
      outcomes << (Accepted(dialog) ? "closed" : "open");
      Type(dialog, "EditHeight", "-1");
      Type(dialog, "EditGap", "1");
      Press(dialog, "ButtonCalib");
      outcomes << (Accepted(dialog) ? "closed" : "open");
      Press(dialog, "ButtonCancel");
    };
    QVERIFY(app.ClickAndWait("ButtonSensorCalibrate"));
    QCOMPARE(outcomes, (QStringList{"open", "open"}));
    QCOMPARE(Messages(app), (QStringList{"'5x' is not a valid integer value",
                                         "Paper height and gap must not be negative"}));
    QCOMPARE(app.prompts.messages[0].detail, QString("Sensor Reference takes a whole number."));
    QTest::qWait(100);
    QCOMPARE(app.server.ConnectionCount(), std::size_t{0});
  }

  void DumpDialogUsesTheFileNameForTheCardOnly() {
    AppFixture app;
    QList<bool> enabled;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      auto& modes = In<RadioGroup>(dialog, "RadioGroupDumpMode");
      for (int mode : {kDumpPrint, kDumpToCard, kDumpToFile, kDumpToCard}) {
        modes.findChildren<QRadioButton*>().at(mode)->click();
        enabled << In<QLineEdit>(dialog, "EditFileName").isEnabled();
      }
      Type(dialog, "EditFileName", "LOG\".TXT");
      Press(dialog, "ButtonOK");
      enabled << Accepted(dialog);
      Type(dialog, "EditFileName", QString::fromUtf8("\u65E5.TXT"));
      Press(dialog, "ButtonOK");
      // Twelve characters of the locale's code page, although more bytes of UTF-8.
      Type(dialog, "EditFileName", QString::fromUtf8("LOG\u00C9\u00C9\u00C9\u00C9\u00C9.TXT"));
      Press(dialog, "ButtonOK");
    };
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QCOMPARE(enabled, (QList<bool>{false, true, false, true, false}));
    QCOMPARE(Messages(app),
             (QStringList{
                 "The printer file name must not contain a double quote or a "
                 "control character",
                 QString::fromUtf8("'\u65E5' cannot be written in the printer's code page 1252")}));
    app.Received(1);
    QVERIFY(Received(app, "DUMP_TEXT SAVE 1000,E,\"LOG\xC9\xC9\xC9\xC9\xC9.TXT\","));

    app.prompts.on_dialog = [](QDialog& dialog) { Press(dialog, "ButtonCancel"); };
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QTest::qWait(100);
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});
  }

  void DumpToFileLoadsTheDumpBackAndSavesIt() {
    sim::SimState state;
    state.dump.text = "LINE 1\r\nLINE 2\r\n";
    AppFixture app({}, state);
    QTemporaryDir dir;
    app.prompts.on_dialog = DumpToFile;
    app.prompts.answers = {false, true, true, true};
    app.prompts.files = {dir.filePath("dump.txt"), dir.filePath("missing/dump.txt")};
    // Cancel at the question: nothing is loaded and no file asked for.
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(app.prompts.filters.size(), std::size_t{0});
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(Slurp(dir.filePath("dump.txt")), state.dump.text);
    QVERIFY(app.prompts.filters == std::vector<QString>{"*.*"});
    QVERIFY(app.prompts.messages.empty());

    // A file that cannot be created is reported; a dump longer than the buffer is cut.
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QVERIFY(app.WaitIdle());
    app.printer.UpdateState([](sim::SimState& s) { s.dump.text.assign(262145, 'd'); });
    app.prompts.files = {dir.filePath("dump.txt")};
    QVERIFY(app.ClickAndWait("ButtonDump"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(Slurp(dir.filePath("dump.txt")), std::string(262144, 'd'));
    QCOMPARE(Messages(app),
             (QStringList{"File Open Error",
                          "The dump was longer than 262144 bytes: only the first 262144 were "
                          "saved"}));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
  }

  void TestPageNeedsAConfigurationAndBothSizes() {
    AppFixture app;
    QVERIFY(app.ClickAndWait("ButtonTestPatern"));
    QVERIFY(app.ClickAndWait("ButtonRead"));
    app.Type("EditHeight", "");
    QVERIFY(app.ClickAndWait("ButtonTestPatern"));
    app.Type("EditHeight", "x");
    QVERIFY(app.ClickAndWait("ButtonTestPatern"));
    QCOMPARE(Messages(app),
             (QStringList{"Please read printer config first", "Please Entry Paper Width",
                          "'x' is not a valid floating point value"}));
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});  // the read only

    // The sizes as the tab shows them now, the resolution as it was read.
    app.Find<RadioGroup>("RadioGroupUnit").SetItemIndex(kUnitMm);
    app.Type("EditWidth", "100");
    app.Type("EditHeight", "50.5");
    QVERIFY(app.ClickAndWait("ButtonTestPatern"));
    const CommandText expected =
        TestPageCommandText({app.window->config().DotsPerMm, 100.0F, 50.5F});
    QCOMPARE(app.Received(2).substr(app.Received(2).find("CLS")), std::string(expected.view()));
  }
};

VANTREL_APP_TEST(UtilityDialogsTest);

}  // namespace vantrel::app::testing

#include "utility_dialogs_test.moc"
