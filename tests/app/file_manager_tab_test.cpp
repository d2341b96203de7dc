// The File Manager tab against the simulated printer: Get, switching memories, Format, Download.
#include "app/tabs/file_manager_tab.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "engine/sim_profile.h"
#include "ops/download_file_type.h"

namespace vantrel::app::testing {
namespace {

sim::SimState PrinterWithFiles() {
  return sim::ParseSimProfile(R"({"memory": {
      "dram": {"physical": 512, "files": {"A.BAS": "10 END", "B.DAT": "1"}},
      "flash": {"physical": 4096, "free": 4000},
      "card": {"physical": 1024, "files": {"LOGO.PCX": "x"}}}})");
}

QStringList Listed(const AppFixture& app) {
  QStringList names;
  const auto& list = app.Find<QListWidget>("ListBoxFileList");
  for (int i = 0; i < list.count(); ++i) names << list.item(i)->text();
  return names;
}

// A file dialog that fails as it opens.
class FailingFileDialog : public ScriptedPrompts {
 public:
  std::optional<QString> OpenFileIn(const QString&, const QString&) override {
    throw std::runtime_error("the file dialog failed");
  }
};

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return file.fileName();
}

}  // namespace

class FileManagerTabTest : public QObject {
  Q_OBJECT

 private slots:
  void GetShowsOneMemoryAndSwitchingAsksNothing() {
    AppFixture app({}, PrinterWithFiles());
    QVERIFY(app.ClickAndWait("ButtonGet"));
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Text("EditPhysicalSpace"), QString("4096"));
    QCOMPARE(app.Text("EditFreeSpace"), QString("4000"));
    QVERIFY(Listed(app).isEmpty());

    app.Find<QRadioButton>("RadioGroupDeviceItem0").click();
    QCOMPARE(app.Text("EditFreeSpace"), QString("510"));
    QCOMPARE(Listed(app), (QStringList{"A.BAS", "B.DAT"}));
    app.Find<QRadioButton>("RadioGroupDeviceItem2").click();
    QCOMPARE(app.Text("EditPhysicalSpace"), QString("1024"));
    QVERIFY(app.Text("EditFreeSpace").isEmpty());
    QCOMPARE(Listed(app), QStringList{"LOGO.PCX"});
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});

    app.window->show();
    app.Find<QTabWidget>("PageControl1").setCurrentIndex(1);
    const QString dir = qEnvironmentVariable("VANTREL_SCREENSHOT_DIR", QDir::tempPath());
    QVERIFY(app.window->grab().save(dir + "/file_manager_en.png"));
  }

  void FailedGetKeepsTheShownValuesAndStoresWhatWasRead() {
    AppFixture app({}, PrinterWithFiles());
    QVERIFY(app.ClickAndWait("ButtonGet"));
    sim::SimFaults faults;
    faults.never_answer = true;
    app.server.SetFaults(faults);
    QVERIFY(app.ClickAndWait("ButtonGet"));
    QCOMPARE(app.prompts.messages.back().text, QString("Data Receiving Error"));
    QCOMPARE(app.Text("EditPhysicalSpace"), QString("4096"));
    app.Find<QRadioButton>("RadioGroupDeviceItem0").click();
    QVERIFY(app.Text("EditPhysicalSpace").isEmpty());
  }

  void FormatAsksFirstAndCancelSendsNothing() {
    AppFixture app({}, PrinterWithFiles());
    app.prompts.answers = {false, true};
    QVERIFY(app.ClickAndWait("ButtonFileFormat"));
    QCOMPARE(app.server.ConnectionCount(), std::size_t{0});
    app.Find<QRadioButton>("RadioGroupFormatDeviceItem0").click();
    QVERIFY(app.ClickAndWait("ButtonFileFormat"));
    QCOMPARE(app.prompts.confirmations, (std::vector<QString>{"Are you sure?", "Are you sure?"}));
    QCOMPARE(app.prompts.asked[0].detail,
             QString("Every file in the printer's FLASH memory will be erased."));
    QCOMPARE(app.prompts.asked[1].detail,
             QString("Every file in the printer's DRAM memory will be erased."));
    QCOMPARE(app.Received(1), std::string("KILL \"*.*\"\r\n"));
    QVERIFY(app.printer.state().memory.memories[0].files.empty());
    QCOMPARE(app.Find<QLabel>("StatusBar1Panel2").text(),
             QStringLiteral("DRAM formatted on 127.0.0.1:%1").arg(app.server.port()));
  }

  void DownloadProposesTheNameAndSendsTheFileIntoTheMemory() {
    QTemporaryDir dir;
    const QByteArray bytes("BM\0\r\n\xff", 6);
    const QString path = WriteFile(dir, "MYLOGOFILE.bmp", bytes);
    AppFixture app({}, PrinterWithFiles());
    QVERIFY(!app.Find<QPushButton>("ButtonDownload").isEnabled());
    app.Choose("ComboBoxFileType", kDownloadTypeBmp);
    app.prompts.files = {path};
    app.Find<QPushButton>("ButtonBrowse").click();
    QCOMPARE(app.prompts.filters.back(), QString("*.BMP (*.BMP *.bmp);;*.* (*.*)"));
    QCOMPARE(app.Text("EditFileName"), QString("MYLOGOFI.BMP"));
    QCOMPARE(app.Text("EditFileSize"), QString("6"));
    QVERIFY(app.Find<QPushButton>("ButtonDownload").isEnabled());

    app.Choose("ComboBoxDevice", kMemoryDram);
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Received(1), "DOWNLOAD \"MYLOGOFI.BMP\",6," + bytes.toStdString());
    const sim::SimMemory dram = app.printer.state().memory.memories[0];
    QCOMPARE(dram.files.back().first, std::string("MYLOGOFI.BMP"));

    // A name past twelve characters is refused before the link opens.
    app.Type("EditFileName", "ABCDEFGHI.BMP");
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.messages.back().text, QString("File name too long"));
    app.Type("EditFileName", "ABC\"D");
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});
  }

  // A download beyond the free space that Get showed would be dropped by the printer unseen.
  void DownloadLargerThanTheFreeSpaceAsksFirst() {
    QTemporaryDir dir;
    const QString large = WriteFile(dir, "LARGE.DAT", QByteArray(1025, 'x'));
    const QString fitting = WriteFile(dir, "FITS.DAT", QByteArray(1024, 'x'));
    AppFixture app({}, sim::ParseSimProfile(R"({"memory": {"dram": {"free": 1}}})"));
    QVERIFY(app.ClickAndWait("ButtonGet"));
    app.Choose("ComboBoxFileType", kDownloadTypeData);
    app.Choose("ComboBoxDevice", kMemoryDram);
    app.prompts.files = {large};
    app.Find<QPushButton>("ButtonBrowse").click();
    app.prompts.answers = {false};
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.confirmations.size(), std::size_t{1});
    QVERIFY(app.prompts.confirmations[0].contains("free space of DRAM (1 KB)"));
    QCOMPARE(app.server.ConnectionCount(), std::size_t{1});
    app.prompts.answers = {true};
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.server.ConnectionCount(), std::size_t{2});

    app.prompts.files = {fitting};
    app.Find<QPushButton>("ButtonBrowse").click();
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.confirmations.size(), std::size_t{2});
    QCOMPARE(app.server.ConnectionCount(), std::size_t{3});
  }

  void TypedNamesGoInTheLocalesCodePage() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "x.bmp", "BM");
    AppFixture app({}, PrinterWithFiles());  // en_US: code page 1252
    app.Choose("ComboBoxFileType", kDownloadTypeBmp);
    app.prompts.files = {path};
    app.Find<QPushButton>("ButtonBrowse").click();
    app.Choose("ComboBoxDevice", kMemoryDram);
    app.Type("EditFileName", QString::fromUtf8("\u65E5.BMP"));
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages.back().text,
             QString::fromUtf8("'\u65E5' cannot be written in the printer's code page 1252"));
    // Twelve characters of the page, twenty bytes of UTF-8.
    app.Type("EditFileName",
             QString::fromUtf8("\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9.BMP"));
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.Received(1),
             std::string("DOWNLOAD \"\xC9\xC9\xC9\xC9\xC9\xC9\xC9\xC9.BMP\",2,BM"));
  }

  void TypeAtDownloadDecidesRawSending() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "fw.new", "FIRMWARE\r\n");
    AppFixture app;
    app.Choose("ComboBoxFileType", kDownloadTypeBmp);
    app.prompts.files = {path};
    app.Find<QPushButton>("ButtonBrowse").click();
    app.Choose("ComboBoxFileType", kDownloadTypeFirmware);
    QVERIFY(app.ClickAndWait("ButtonDownload"));
    QCOMPARE(app.prompts.messages.back().text, QString("Please Wait Led change to Green..."));
    QCOMPARE(app.Received(1), std::string("FIRMWARE\r\n"));
  }

  void BrowseCancelledOrUnreadableLeavesDownloadDisabled() {
    AppFixture app;
    app.Choose("ComboBoxFileType", kDownloadTypeTrueType);
    app.prompts.files = {std::nullopt, QString("/nonexistent/file.ttf")};
    app.Find<QPushButton>("ButtonBrowse").click();
    QCOMPARE(app.prompts.folders.back(), QString("/usr/share/fonts"));
    QCOMPARE(app.prompts.filters.back(), QString("*.TTF (*.TTF *.ttf)"));
    app.Find<QPushButton>("ButtonBrowse").click();
    QCOMPARE(app.prompts.messages.back().text, QString("Open File Error"));
    QVERIFY(!app.Find<QPushButton>("ButtonDownload").isEnabled());
  }

  void FontViewOnlyChangesTheDialogsFont() {
    AppFixture app;
    QFont chosen("DejaVu Sans", 24);
    chosen.setBold(true);
    app.prompts.fonts = {chosen, std::nullopt};
    app.Find<QPushButton>("ButtonFontView").click();
    app.Find<QPushButton>("ButtonFontView").click();
    QCOMPARE(app.prompts.font_dialog_starts.back(), chosen);
    QCOMPARE(app.server.ConnectionCount(), std::size_t{0});
  }

  void ExceptionFromAHandlerIsShownAndTheTabGoesOn() {
    FailingFileDialog prompts;
    AppFixture app([&](MainWindowOptions& o) { o.prompts = &prompts; }, PrinterWithFiles());
    app.Find<QPushButton>("ButtonBrowse").click();
    QCOMPARE(prompts.messages.size(), std::size_t{1});
    QCOMPARE(prompts.messages[0].text, QString("the file dialog failed"));
    QVERIFY(app.ClickAndWait("ButtonGet"));
    QCOMPARE(app.Text("EditPhysicalSpace"), QString("4096"));
  }
};

VANTREL_APP_TEST(FileManagerTabTest);

}  // namespace vantrel::app::testing

#include "file_manager_tab_test.moc"
