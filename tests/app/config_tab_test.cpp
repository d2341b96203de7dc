// The configuration tab: Read, Set per page, Clear, units, bad numbers, Save and Load.
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <map>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/widgets/radio_group.h"
#include "config/config_file_image.h"
#include "support/expected_write.h"
#include "support/scripted_config_printer.h"
#include "support/scripted_transport.h"

namespace vantrel::app::testing {
namespace {

using vantrel::testing::ExpectedWrite;
using vantrel::testing::Script;
using vantrel::testing::ScriptedConfigPrinter;
using vantrel::testing::ScriptedOpener;

// A 203-dpi printer that answers every configuration question and, with `status`, the status
// query too. The status byte can be changed between queries.
struct ScriptedPrinter {
  std::shared_ptr<Script> script = std::make_shared<Script>();
  std::shared_ptr<std::uint8_t> status = std::make_shared<std::uint8_t>(0);

  ScriptedPrinter() {
    ScriptedConfigPrinter::Full().AnswerOn(*script);
    script->on_write = [config = script->on_write, status = status](std::string_view chunk,
                                                                    Script& s) {
      if (chunk == "\x1b!?") return s.deliveries.push_back(std::string(1, char(*status)));
      if (chunk == "\x1b!S\r\n") return s.deliveries.push_back(std::string(8, '\0'));
      config(chunk, s);
    };
  }

  std::function<void(MainWindowOptions&)> Install() const {
    return [script = script](MainWindowOptions& o) { o.opener = ScriptedOpener(script); };
  }
};

void ChooseUnit(const AppFixture& app, LengthUnit unit) {
  auto& group = app.Find<RadioGroup>("RadioGroupUnit");
  group.SetItemIndex(unit);
  emit group.Clicked(unit);
}

ConfigFileImage ImageOf(const PrinterConfig& config) {
  return BuildConfigFileImage({kUnitInch, config, {}});
}

// Every edit text and list position of the configuration and information groups.
std::map<QString, QString> Snapshot(const AppFixture& app) {
  std::map<QString, QString> shown;
  for (const char* group : {"GroupBoxPrintreConfig", "GroupBoxPrinterInfo"}) {
    const auto& root = app.Find<QGroupBox>(group);
    for (const QLineEdit* edit : root.findChildren<QLineEdit*>()) {
      if (!edit->objectName().isEmpty()) shown[edit->objectName()] = edit->text();
    }
    for (const QComboBox* list : root.findChildren<QComboBox*>()) {
      shown[list->objectName()] = QString::number(list->currentIndex());
    }
  }
  return shown;
}

// Loads `config` through the Load button, as a file another program might have written.
void LoadRecord(AppFixture& app, const PrinterConfig& config, const QTemporaryDir& dir) {
  const ConfigFileImage image = ImageOf(config);
  QFile file(dir.filePath("crafted.dcf"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
  file.close();
  app.prompts.files.push_back(file.fileName());
  app.Find<QPushButton>("ButtonLoad").click();
}

}  // namespace

class ConfigTabTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadShowsThePrinterConfiguration() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Text("EditVersion"), QString("V1.23 EZ"));
    QCOMPARE(app.Text("EditSerial"), QString("SN-0001"));
    QCOMPARE(app.Text("EditSpeed"), QString("4"));
    QCOMPARE(app.Text("EditWidth"), QString("4.00"));  // 812 dots at 8 dots/mm, in inch
    QCOMPARE(app.Find<QComboBox>("ComboBoxMediaSensor").currentIndex(), 2);
    QCOMPARE(app.Text("EditCutterPiece"), QString("2"));  // shown beside CUTTER only
    QCOMPARE(app.Find<QComboBox>("ComboBoxCodePage").currentText(), QString("8859-15"));
    QCOMPARE(app.Find<QComboBox>("ComboBoxBaudrate").currentText(), QString("9600"));
    QVERIFY(!app.Find<QLineEdit>("EditDensityBase").isHidden());
    QCOMPARE(app.Text("EditDensityBase"), QString("7"));
    QCOMPARE(app.Text("EditPrintWidthZ"), QString("4.00"));
    QCOMPARE(app.Text("EditControlPrefixZ"), QString("#"));
    QCOMPARE(app.Text("EditHeatD"), QString("12"));
    QVERIFY(app.window->config().Dpi.set());
  }

  void SetSendsTheShownPageBlockFromACopy() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    ChooseUnit(app, kUnitMm);  // every length of this printer shows exactly in mm
    QVERIFY(app.ClickAndWait("ButtonRead"));
    const ConfigFileImage before = ImageOf(app.window->config());
    for (int block = kBlockCommon; block <= kBlockD; ++block) {
      app.Find<QTabWidget>("PageControl2").setCurrentIndex(block);
      printer.script->written.clear();
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      const std::string expected = ExpectedWrite(app.window->config(), block);
      QVERIFY(!expected.empty());
      QCOMPARE(printer.script->written, expected);
    }
    QVERIFY(app.prompts.messages.empty());
    QVERIFY(ImageOf(app.window->config()) == before);
  }

  void ClearEmptiesTheTabAndSetThenSendsNothing() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    app.Find<QPushButton>("ButtonClear").click();
    for (const auto& [name, shown] : Snapshot(app)) {
      QVERIFY2(shown.isEmpty() || shown == "-1", qPrintable(name));
    }
    QVERIFY(app.Find<QLineEdit>("EditShiftXBase").isHidden());
    const int opens = printer.script->opens;
    printer.script->written.clear();
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    QCOMPARE(printer.script->opens, opens + 1);
    QCOMPARE(printer.script->written, std::string());
    QVERIFY(app.prompts.messages.empty());
  }

  void UnitSwitchShowsTheSameLengthsAndCommaSpeedIsTaken() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    app.Type("EditSpeed", "4,5");
    ChooseUnit(app, kUnitMm);
    QCOMPARE(app.Find<QLabel>("LabelUnit1").text(), QString("mm"));
    QCOMPARE(app.Text("EditWidth"), QString("101.50"));
    printer.script->written.clear();
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    QVERIFY(printer.script->written.find("SPEED 4.5\r\n") != std::string::npos);
    QVERIFY(printer.script->written.find("SIZE 101.50 mm,") != std::string::npos);
  }

  void BadNumberOnSetShowsMessageAndSendsNothing() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    const ConfigFileImage before = ImageOf(app.window->config());
    const int opens = printer.script->opens;
    app.Type("EditSpeed", "abc");
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("'abc' is not a valid floating point value"));
    QCOMPARE(app.prompts.messages[0].detail, QString("Speed takes a number."));
    QCOMPARE(printer.script->opens, opens);
    QVERIFY(app.window->isEnabled());
    QVERIFY(ImageOf(app.window->config()) == before);
  }

  void RealsBeyondSinglePrecisionAreRefused() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    for (const char* edit : {"EditSpeed", "EditWidth"}) {
      app.Type("EditSpeed", "");
      app.Type(edit, "1e39");
      const int opens = printer.script->opens;
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      QCOMPARE(app.prompts.messages.back().text,
               QString("'1e39' is not a valid floating point value"));
      QCOMPARE(printer.script->opens, opens);
    }
  }

  // A real shows the fewest digits that read back as the stored value, and an untouched Set
  // sends exactly what was read.
  void RealsShowShortAndGoBackUnchanged() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    PrinterConfig config = app.window->config();
    config.Speed.Set(2.2F);
    config.PrintSpeedD.Set(0.1F);
    QTemporaryDir dir;
    LoadRecord(app, config, dir);
    QCOMPARE(app.Text("EditSpeed"), QString("2.2"));
    QCOMPARE(app.Text("EditPrintSpeedD"), QString("0.1"));
    for (const int block : {kBlockCommon, kBlockD}) {
      app.Find<QTabWidget>("PageControl2").setCurrentIndex(block);
      printer.script->written.clear();
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      QCOMPARE(printer.script->written, ExpectedWrite(app.window->config(), block));
    }
    QVERIFY(app.prompts.messages.empty());
  }

  // The range a caption states is the range Set takes: a value outside it is refused, naming
  // the field and the range, before the printer is opened.
  void ValuesOutsideTheirRangeAreRefusedBeforeSending() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    ChooseUnit(app, kUnitMm);
    QCOMPARE(app.Find<QLabel>("LabelDarknessRangeZ").text(), QString("0 to 30"));
    const struct {
      int block;
      const char* edit;
      const char* typed;
      const char* refusal;  // nullptr: taken
    } cases[] = {
        {kBlockZ, "EditDarknessZ", "99", "Darkness: '99' is too large; 0 to 30"},
        {kBlockZ, "EditDarknessZ", "30", nullptr},
        {kBlockZ, "EditTearOffZ", "-121", "Tear Off: '-121' is too small; -120 to 120"},
        {kBlockZ, "EditLeftPositionZ", "10000",
         "Left Position: '10000' is too large; -9999 to 9999"},
        {kBlockD, "EditHeatD", "31", "Heat: '31' is too large; 0 to 30"},
        {kBlockCommon, "EditGapSize", "1e12", "Gap: '1e12' is too large; 0 to 25.40 mm"},
    };
    for (const auto& c : cases) {
      app.Find<QTabWidget>("PageControl2").setCurrentIndex(c.block);
      app.Type(c.edit, c.typed);
      app.prompts.messages.clear();
      const int opens = printer.script->opens;
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      if (c.refusal == nullptr) {
        QVERIFY(app.prompts.messages.empty());
        QCOMPARE(printer.script->opens, opens + 1);
      } else {
        QCOMPARE(app.prompts.messages.size(), std::size_t{1});
        QCOMPARE(app.prompts.messages[0].text, QString(c.refusal));
        QCOMPARE(printer.script->opens, opens);
      }
      app.Type(c.edit, "");
    }
  }

  void PrefixCharactersAreOneLatin1ByteOrRefused() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    app.Find<QTabWidget>("PageControl2").setCurrentIndex(kBlockZ);
    app.Type("EditControlPrefixZ", " ");
    app.Type("EditDelimiterCharZ", QString(QChar(0xE9)));
    QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    QVERIFY(app.prompts.messages.empty());
    const std::string& sent = printer.script->written;
    QVERIFY(sent.find("\x10"
                      "CT \x1e") != std::string::npos);
    QVERIFY(sent.find("\x10"
                      "CD\xe9\x1e") != std::string::npos);
    for (const QString& refused :
         {QString(QChar(0x01)), QString(QChar(0x20AC)), QString(QChar(0))}) {
      const int opens = printer.script->opens;
      app.Type("EditFormatPrefixZ", refused);
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      QVERIFY(!app.prompts.messages.empty());
      QVERIFY2(app.prompts.messages.back().text.contains("one printable Latin-1 character"),
               qPrintable(app.prompts.messages.back().text));
      QCOMPARE(printer.script->opens, opens);
    }
  }

  // A crafted file: flags other than 1 leave Common and D items empty (Set would not send
  // them), the Z page shows any flag but 0, and an absurd list value is no file to load.
  void CraftedFlagsAndValuesShowAsSetWouldSendThem() {
    AppFixture app;
    PrinterConfig config = app.window->config();
    config.Speed.Set(4.0F);
    config.HeatD.Set(10);
    config.DarknessZ.Set(15);
    config.Speed.flag = config.HeatD.flag = config.DarknessZ.flag = 2;
    QTemporaryDir dir;
    LoadRecord(app, config, dir);
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Text("EditSpeed"), QString());
    QCOMPARE(app.Text("EditHeatD"), QString());
    QCOMPARE(app.Text("EditDarknessZ"), QString("15"));
    config.DarknessZ.Set(20);
    config.PrintModeZ.Set(std::numeric_limits<std::int32_t>::max());
    LoadRecord(app, config, dir);
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("File Data Error"));
    QVERIFY(app.prompts.messages[0].detail.contains("PrintModeZ"));
    QCOMPARE(app.Text("EditDarknessZ"), QString("15"));
  }

  void BadNumberOnSaveLeavesRecordAndDiskAlone() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    const ConfigFileImage before = ImageOf(app.window->config());
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.dcf");
    app.prompts.files.push_back(path);
    app.Type("EditWidth", "5");  // collected before the bad value, yet must not stick
    app.Type("EditDarknessZ", "x1");
    app.Find<QPushButton>("ButtonSave").click();
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("'x1' is not a valid integer value"));
    QVERIFY(!QFile::exists(path));
    QVERIFY(ImageOf(app.window->config()) == before);
  }

  void SaveThenLoadRestoresControlsUnitAndStatus() {
    ScriptedPrinter printer;
    *printer.status = 0x21;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    QVERIFY(app.ClickAndWait("ButtonGetStatus"));
    app.Type("EditWidth", "4");
    app.Type("EditSerial", "typed, never saved");
    const std::map<QString, QString> saved = Snapshot(app);
    QTemporaryDir dir;
    app.prompts.files.push_back(dir.filePath("printer"));
    app.Find<QPushButton>("ButtonSave").click();
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.prompts.filters.back(), QString("*.dcf"));
    QCOMPARE(app.prompts.suffixes.back(), QString("dcf"));
    QVERIFY(QFile::exists(dir.filePath("printer.dcf")));

    // Change everything a load must restore.
    *printer.status = 0x00;
    QVERIFY(app.ClickAndWait("ButtonGetStatus"));
    app.Find<QPushButton>("ButtonClear").click();
    ChooseUnit(app, kUnitMm);

    app.prompts.files.push_back(dir.filePath("printer.dcf"));
    app.Find<QPushButton>("ButtonLoad").click();
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Find<RadioGroup>("RadioGroupUnit").ItemIndex(), int(kUnitInch));
    QCOMPARE(app.Find<QLabel>("LabelUnit3").text(), QString("inch"));
    QCOMPARE(app.Text("EditWidth"), QString("4.00"));
    QCOMPARE(app.Text("EditSerial"), QString("SN-0001"));
    std::map<QString, QString> loaded = Snapshot(app);
    std::map<QString, QString> expected = saved;
    expected["EditWidth"] = "4.00";
    expected["EditSerial"] = "SN-0001";
    QVERIFY(loaded == expected);
    QVERIFY(app.Find<QLabel>("LabelHeadOpen").isEnabled());
    QVERIFY(app.Find<QLabel>("LabelPrintting").isEnabled());
    QVERIFY(!app.Find<QLabel>("LabelReady").isEnabled());
  }

  void LoadOfAForeignFileChangesNothing() {
    ScriptedPrinter printer;
    AppFixture app(printer.Install());
    QVERIFY(app.ClickAndWait("ButtonRead"));
    const ConfigFileImage before = ImageOf(app.window->config());
    QTemporaryDir dir;
    QFile text(dir.filePath("notes.dcf"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(700, 'x'));
    text.close();
    app.prompts.files.push_back(text.fileName());
    app.Find<QPushButton>("ButtonLoad").click();
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("File Data Error"));
    QVERIFY(ImageOf(app.window->config()) == before);
    QCOMPARE(app.Text("EditVersion"), QString("V1.23 EZ"));
  }

  void FilesThatCannotBeWrittenOrReadAreReported() {
    AppFixture app;
    QTemporaryDir dir;
    app.prompts.files.push_back(dir.filePath("missing/printer.dcf"));
    app.Find<QPushButton>("ButtonSave").click();
    app.prompts.files.push_back(dir.filePath("absent.dcf"));
    app.Find<QPushButton>("ButtonLoad").click();
    QCOMPARE(app.prompts.messages.size(), std::size_t{2});
    QCOMPARE(app.prompts.messages[0].text, QString("File Open Error"));
    QVERIFY(!app.prompts.messages[0].detail.isEmpty());
    QCOMPARE(app.prompts.messages[1].text, QString("File Open Error"));
  }

  void CancelledFileDialogsDoNothing() {
    AppFixture app;
    app.Type("EditSpeed", "abc");  // would fail a collection, were there one
    app.Find<QPushButton>("ButtonSave").click();
    app.Find<QPushButton>("ButtonLoad").click();
    QVERIFY(app.prompts.messages.empty());
  }
};

VANTREL_APP_TEST(ConfigTabTest);

}  // namespace vantrel::app::testing

#include "config_tab_test.moc"
