// `vantrel --demo` clicked through: every tab, button and dialog of the window against the
// demo's own simulated printer, each checked for the command or datagram it sent or the file
// it wrote; screenshots of each tab in each language.
#include <QAction>
#include <QDate>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <set>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/demo_printer.h"
#include "app/tabs/command_tool_tab.h"
#include "app/text_fit.h"
#include "ops/download_file_type.h"
#include "ops/read_configuration.h"
#include "ops/status_control.h"

namespace vantrel::app::testing {
namespace {

// A command as the printer logs it: without its line end.
std::string Logged(std::string_view command) {
  if (command.ends_with("\r\n")) command.remove_suffix(2);
  return std::string(command);
}

class DemoWindow {
 public:
  DemoWindow() {
    if (const LinkFailure failure = printer.Start(); !failure.ok()) {
      throw std::runtime_error(failure.detail);
    }
    app = std::make_unique<AppFixture>([this](MainWindowOptions& options) {
      const DatagramTargets quick = options.datagrams;
      options.network = printer.target();
      options.datagrams = printer.datagrams();
      options.datagrams.discovery_wait = quick.discovery_wait;
      options.datagrams.setup_wait = quick.setup_wait;
      options.demo = true;
      options.open_url = [this](const QString& url) {
        urls << url;
        return true;
      };
    });
  }

  // Clicks a button of the main window and waits until what it started has ended.
  void Click(const char* button) {
    clicked.insert(button);
    app->ClickAndWait(button);
  }
  // Clicks, then waits for the printer to log `command` (or a command beginning with it, for
  // one whose data follow) among the commands the click caused.
  bool Sends(const char* button, std::string_view command) {
    const std::size_t before = printer.printer().Commands().size();
    Click(button);
    return QTest::qWaitFor([&] { return LoggedSince(before, Logged(command)); }, 5000);
  }
  bool LoggedSince(std::size_t before, const std::string& command) const {
    const std::vector<std::string> all = printer.printer().Commands();
    return std::any_of(all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())),
                       all.end(), [&](const std::string& c) { return c.starts_with(command); });
  }
  std::size_t Datagrams() const { return printer.responder().Received().size(); }

  DemoPrinter printer;
  std::unique_ptr<AppFixture> app;
  QStringList urls;
  std::set<QString> clicked;
};

}  // namespace

class DemoWalkThroughTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryTabButtonAndDialogReachesThePrinter() {
    DemoWindow demo;
    AppFixture& app = *demo.app;
    app.window->StartUp();
    QVERIFY(app.WaitIdle());
    QCOMPARE(app.window->windowTitle(), QString("Vantrel (demo)"));
    QCOMPARE(app.Text("EditVersion"), QString("SIM 1.00"));
    PrinterFunctions(demo);
    ConfigurationTab(demo);
    NetworkDialogs(demo);
    OtherInterfacesAndAbout(demo);
    FileManager(demo);
    FontManager(demo);
    CommandTool(demo);
    Screenshots(demo);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(app.prompts.messages.empty());
    // Cancel acts only on an operation still waiting, which the demo printer never leaves
    // waiting; MainWindowTest stops a silent printer's read with it.
    const QStringList kNotWalked = {"ButtonCancelOperation"};
    QStringList missed;
    for (QPushButton* button : app.window->findChildren<QPushButton*>()) {
      const QString name = button->objectName();
      if (demo.clicked.count(name) == 0 && !kNotWalked.contains(name)) missed << name;
    }
    QVERIFY2(missed.isEmpty(), qPrintable("not walked through: " + missed.join(", ")));
  }

 private:
  static void PrinterFunctions(DemoWindow& demo) {
    const std::pair<const char*, std::string_view> buttons[] = {
        {"ButtonGetStatus", kStatusQuery},
        {"ButtonInitial", kFactoryDefaultCommand},
        {"ButtonSelfTest", kConfigurationPageCommand},
        {"ButtonRestPrinter", kResetCommand},
        {"ButtonIgnoreAuto", kIgnoreAutoBasCommand},
        {"ButtonRead", kSerialNumberQuestion},
    };
    for (const auto& [button, command] : buttons) QVERIFY2(demo.Sends(button, command), button);
    QVERIFY(demo.app->Find<QLabel>("LabelReady").isEnabled());
    UtilityDialogs(demo);
  }

  // Each utility dialog played with its main choice; the printer's clock shows in its dialog.
  static void UtilityDialogs(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    QString year_shown;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      if (dialog.objectName() == "TFormRTCSetup") {
        year_shown = In<QLineEdit>(dialog, "EditYear").text();
        Press(dialog, "ButtonSetSysTime");
        Press(dialog, "ButtonSet");
      } else if (dialog.objectName() == "TFormSensorCalibrate") {
        Press(dialog, "ButtonCalib");
      } else {
        Press(dialog, "ButtonOK");  // the dump prints
      }
    };
    const std::pair<const char*, std::string_view> buttons[] = {
        {"ButtonRTCSetTime", "YEAR = "},
        {"ButtonSensorCalibrate", "GAPDETECT"},
        {"ButtonDump", "DUMP_TEXT PRINT"},
        {"ButtonTestPatern", "CLS"},
    };
    for (const auto& [button, command] : buttons) QVERIFY2(demo.Sends(button, command), button);
    QCOMPARE(year_shown, QString::number(QDate::currentDate().year()));
  }

  static void ConfigurationTab(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.Type("EditSpeed", "3");
    QVERIFY(demo.Sends("ButtonConfigSet", "SPEED 3.0"));
    QTemporaryDir dir;
    const QString file = dir.filePath("demo.dcf");
    app.prompts.files = {file, file};
    demo.Click("ButtonSave");
    QCOMPARE(QFileInfo(file).size(), qint64{638});
    demo.Click("ButtonClear");
    QVERIFY(app.Text("EditSpeed").isEmpty());
    demo.Click("ButtonLoad");
    QCOMPARE(app.Text("EditSpeed"), QString("3"));
    app.Find<QRadioButton>("RadioGroupUnitItem1").click();
    QCOMPARE(app.Find<QLabel>("LabelUnit1").text(), QString("mm"));
  }

  static void NetworkDialogs(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.prompts.on_dialog = [](QDialog& dialog) {
      In<QLineEdit>(dialog, "EditPrinterName").setText("DEMO-1");
      Press(dialog, "ButtonSetPrinterName");
    };
    demo.Click("ButtonEthernet");
    QTRY_COMPARE(demo.printer.printer().state().net.name, std::string("DEMO-1"));

    QStringList listed;
    std::string renamed;
    int rows_after_default = -1;
    const std::size_t datagrams = demo.Datagrams();
    app.prompts.answers = {true};
    demo.clicked.insert("ButtonInterFace");
    OpenNetSetup(
        app,
        [&](TFormNetSetup& dialog) {
          Press(dialog, "ButtonDiscover");
          Settled(dialog);
          auto& list = In<QTreeWidget>(dialog, "ListView1");
          for (int row = 0; row < list.topLevelItemCount(); ++row) {
            listed << list.topLevelItem(row)->text(0) + " " + list.topLevelItem(row)->text(2);
          }
          list.topLevelItem(0)->setSelected(true);
          emit list.itemClicked(list.topLevelItem(0), 0);
          Press(dialog, "ButtonBrowser");
          Press(dialog, "ButtonChangeIP");
          // The sets go out once the edit dialog has closed.
          const bool set =
              QTest::qWaitFor([&] { return demo.printer.responder().Printer(0).name == "DEMO-2"; });
          Settled(dialog);
          renamed = set ? "DEMO-2" : demo.printer.responder().Printer(0).name;
          RunAgainAndSelectFirst(dialog);
          Press(dialog, "ButtonFactoryDefault");
          rows_after_default = list.topLevelItemCount();
          Press(dialog, "ButtonExit");
        },
        [](TFormEthernetSetup& edit) {
          In<QLineEdit>(edit, "EditPrinterName").setText("DEMO-2");
          Press(edit, "ButtonSetPrinterName");
        });
    QCOMPARE(listed, QStringList("DEMO-1 127.0.0.1"));
    QCOMPARE(demo.urls, QStringList("http://127.0.0.1"));
    QCOMPARE(renamed, std::string("DEMO-2"));
    QCOMPARE(rows_after_default, 0);
    QTRY_COMPARE(demo.printer.responder().Printer(0).name, std::string("SIM-33445A"));
    QVERIFY(demo.Datagrams() > datagrams);
    QCOMPARE(app.window->network().address, std::string("127.0.0.1"));
    QCOMPARE(app.window->network().port, int(demo.printer.target().port));
  }

  static void RunAgainAndSelectFirst(TFormNetSetup& dialog) {
    Press(dialog, "ButtonDiscover");
    Settled(dialog);
    In<QTreeWidget>(dialog, "ListView1").topLevelItem(0)->setSelected(true);
  }

  static void OtherInterfacesAndAbout(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.prompts.on_dialog = [](QDialog& dialog) {
      Press(dialog, dialog.objectName() == "TFormAbout" ? "Button1" : "ButtonCancel");
    };
    for (int interface : {kInterfaceCom, kInterfaceLpt}) {
      app.Choose("ComboBoxInterFace", interface);
      demo.Click("ButtonInterFace");
    }
    app.Choose("ComboBoxInterFace", kInterfaceEthernet);
    app.Find<QAction>("About1").trigger();
    QCOMPARE(app.prompts.dialogs.back(), QString("TFormAbout"));
    QVERIFY(app.prompts.dialogs.size() >= 4);
    QCOMPARE(app.prompts.dialogs[app.prompts.dialogs.size() - 3], QString("TFormRs232Setup"));
    QCOMPARE(app.prompts.dialogs[app.prompts.dialogs.size() - 2], QString("TFormLPTSetup"));
  }

  // The demo printer's files are listed, a file goes into a memory, a memory is erased.
  static void FileManager(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.Find<QTabWidget>("PageControl1").setCurrentIndex(1);
    app.Find<QRadioButton>("RadioGroupDeviceItem1").click();  // FLASH
    demo.Click("ButtonGet");
    QVERIFY(!app.Find<QListWidget>("ListBoxFileList")
                 .findItems("AUTO.BAS", Qt::MatchContains)
                 .isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("PRICES.DAT");
    std::ofstream(file.toStdString()) << "APPLES,3\r\n";
    app.Find<QComboBox>("ComboBoxFileType").setCurrentIndex(kDownloadTypeData);
    app.Find<QComboBox>("ComboBoxDevice").setCurrentIndex(kMemoryDram);
    app.prompts.files = {file};
    demo.Click("ButtonBrowse");
    QVERIFY(demo.Sends("ButtonDownload", "DOWNLOAD \"PRICES\","));
    QCOMPARE(*sim::FindFile(demo.printer.printer().state().memory, "PRICES"),
             std::string("APPLES,3\r\n"));
    app.prompts.fonts = {QFont("DejaVu Sans", 12)};
    demo.Click("ButtonFontView");
    QCOMPARE(app.prompts.fonts.size(), std::size_t{0});
    app.prompts.answers = {true};
    app.Find<QRadioButton>("RadioGroupFormatDeviceItem2").click();  // CARD
    demo.Click("ButtonFileFormat");
    QTRY_VERIFY(demo.printer.printer().state().memory.memories[kMemoryCard].files.empty());
  }

  // A font chosen, previewed, made and downloaded; its encode table saved and loaded again.
  static void FontManager(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.Find<QTabWidget>("PageControl1").setCurrentIndex(2);
    app.prompts.fonts = {QFont("DejaVu Sans", 12)};
    demo.Click("ButtonSelectFont");
    app.prompts.on_dialog = [](QDialog& dialog) { dialog.reject(); };
    demo.Click("ButtonPreviewFont");
    QCOMPARE(app.prompts.dialogs.back(), QString("TFormPreviewFont"));
    app.Type("EditCharEnd", "40");
    QTemporaryDir dir;
    const QString font = dir.filePath("demo.fnt");
    const QString table = dir.filePath("table.txt");
    app.prompts.files = {font, table, table};
    demo.Click("ButtonSaveFont");
    QTRY_VERIFY(QFileInfo(font).size() > 0);
    QVERIFY(demo.Sends("ButtonDowloadFont", "DOWNLOAD F,\"Font001\""));
    app.Choose("ComboBoxFontEncode", 2);  // by table
    app.Find<QPlainTextEdit>("MemoFontTable").setPlainText("AB");
    demo.Click("ButtonFontTblSave");
    app.Find<QPlainTextEdit>("MemoFontTable").clear();
    demo.Click("ButtonFontTblLoad");
    QCOMPARE(app.Find<QPlainTextEdit>("MemoFontTable").toPlainText(), QString("AB"));
  }

  static void CommandTool(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    app.Find<QTabWidget>("PageControl1").setCurrentIndex(3);
    auto& editor = app.Find<QPlainTextEdit>("RichEditTText");
    app.Find<QRadioButton>("RadioGroupSelectItem2").click();
    app.Find<QComboBox>("ComboBoxTextEncoding").setCurrentIndex(1);  // 950
    editor.setPlainText(QString::fromUtf8("TEXT 10,10,\"1\",0,1,1,\"中\"\nPRINT 1\n"));
    QVERIFY(demo.Sends("ButtonSend", "TEXT 10,10,\"1\",0,1,1,\"\xA4\xA4\""));
    QTemporaryDir dir;
    const QString file = dir.filePath("labels.txt");
    app.prompts.files = {file, file, file};
    demo.Click("ButtonSaveFile");
    QVERIFY(demo.Sends("ButtonSendFile", "PRINT 1"));
    app.Find<QRadioButton>("RadioGroupSelectItem3").click();
    demo.Click("ButtonLoadFile");
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("TEXT 10,10,\"1\",0,1,1,\"中\"\nPRINT 1\n"));
  }

  // Each tab in each language, filled by the walk through: every text shows whole.
  static void Screenshots(DemoWindow& demo) {
    AppFixture& app = *demo.app;
    const char* languages[] = {"en", "zh_tw", "zh_cn"};
    auto& tabs = app.Find<QTabWidget>("PageControl1");
    QStringList unfit;
    for (int language = 0; language < kLanguageCount; ++language) {
      app.Choose("ComboBoxLanguage", language);
      for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setCurrentIndex(tab);
        const QString name =
            QStringLiteral("main_window_demo_tab%1_%2").arg(tab + 1).arg(languages[language]);
        CheckTextsFit(*app.window, name, name, unfit);
      }
    }
    QVERIFY2(unfit.isEmpty(), qPrintable(unfit.join('\n')));
    QCOMPARE(tabs.tabText(3), QString::fromUtf8("命令工具"));
  }
};

VANTREL_APP_TEST(DemoWalkThroughTest);

}  // namespace vantrel::app::testing

#include "demo_walk_through_test.moc"
