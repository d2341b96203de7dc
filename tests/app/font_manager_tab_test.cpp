// The Bitmap Font Manager tab under the offscreen platform, with the real renderer.
#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/widgets/radio_group.h"
#include "fonts/font_file_reader.h"
#include "fonts/font_job.h"
#include "support/unreadable_paths.h"

namespace vantrel::app::testing {
namespace {

std::vector<std::uint8_t> ReadAll(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QString LastMessage(const AppFixture& app) {
  return app.prompts.messages.empty() ? QString() : app.prompts.messages.back().text;
}

}  // namespace

class FontManagerTabTest : public QObject {
  Q_OBJECT

 private slots:
  void EncodingSetsPitchAndEnablesItsControls() {
    AppFixture app;
    QCOMPARE(app.Find<QComboBox>("ComboBoxFontPitch").currentIndex(), 1);
    QVERIFY(!app.Find<RadioGroup>("RadioGroupAsiaFontEncode").isEnabled());
    app.Choose("ComboBoxFontEncode", 1);
    QCOMPARE(app.Find<QComboBox>("ComboBoxFontPitch").currentIndex(), 0);
    QVERIFY(app.Find<RadioGroup>("RadioGroupAsiaFontEncode").isEnabled());
    QVERIFY(!app.Find<QLineEdit>("EditCharStart").isEnabled());
    QVERIFY(!app.Find<QPlainTextEdit>("MemoFontTable").isEnabled());
    app.Choose("ComboBoxFontEncode", 2);
    QCOMPARE(app.Find<QComboBox>("ComboBoxFontPitch").currentIndex(), 1);
    QVERIFY(app.Find<QPlainTextEdit>("MemoFontTable").isEnabled());
    app.Choose("ComboBoxFontEncode", 3);
    QCOMPARE(app.Find<QComboBox>("ComboBoxFontPitch").currentIndex(), 0);
    app.Choose("ComboBoxFontEncode", 0);
    QCOMPARE(app.Find<QComboBox>("ComboBoxFontPitch").currentIndex(), 1);
    QVERIFY(app.Find<QLineEdit>("EditCharStart").isEnabled());
  }

  void MappingSetsTheCodeFields() {
    AppFixture app;
    app.Choose("ComboBoxSEncode", 1);
    QCOMPARE(app.Text("EditCharEnd"), QString("255"));
    app.Choose("ComboBoxSEncode", 2);
    QCOMPARE(app.Text("EditCharStart"), QString("32"));
    QCOMPARE(app.Text("EditCharEnd"), QString("255"));
    app.Choose("ComboBoxSEncode", 0);
    QCOMPARE(app.Text("EditCharEnd"), QString("127"));
  }

  void SelectedFontIsMeasuredWithTheItalicRule() {
    AppFixture app;
    QCOMPARE(app.Text("EditWinFontName"), QString("Arial"));
    QCOMPARE(app.Text("EditItalicWidth"), QString("0"));
    QFont font("DejaVu Sans", 24);
    font.setBold(true);
    font.setItalic(true);
    app.prompts.fonts.push_back(font);
    app.Type("EditPrinterFontName", "Other");
    app.Find<QPushButton>("ButtonSelectFont").click();
    QCOMPARE(app.prompts.font_dialog_starts.front().family(), QString("Arial"));
    QCOMPARE(app.Text("EditWinFontName"), QString("DejaVu Sans"));
    QCOMPARE(app.Text("EditWinFontSize"), QString("24"));
    QCOMPARE(app.Text("EditPrinterFontName"), QString("Font001"));
    const int width = app.Text("EditFontWidth").toInt();
    QVERIFY(width > 24);
    QCOMPARE(app.Text("EditItalicWidth").toInt(), width * 3 / 10);
  }

  // "Font View" and "Select Font" open one font dialog font: it starts on Arial, and a font
  // confirmed in either is where the other starts; only "Select Font" changes the tab and the
  // font its preview draws in.
  void FontViewAndSelectFontShareOneFont() {
    AppFixture app;
    QFont viewed("DejaVu Serif", 20);
    viewed.setItalic(true);
    const QFont selected("DejaVu Sans Mono", 16);
    app.prompts.fonts = {viewed, selected, std::nullopt};
    std::vector<QImage> charts;
    app.prompts.on_dialog = [&charts](QDialog& dialog) {
      charts.push_back(dialog.findChild<QLabel*>("ImagePreview")->pixmap().toImage());
    };
    app.Find<QPushButton>("ButtonPreviewFont").click();
    app.Find<QPushButton>("ButtonFontView").click();
    app.Find<QPushButton>("ButtonPreviewFont").click();
    QCOMPARE(app.prompts.font_dialog_starts.back().family(), QString("Arial"));
    QCOMPARE(app.Text("EditWinFontName"), QString("Arial"));
    QCOMPARE(charts.size(), std::size_t{2});
    QVERIFY(charts[0] == charts[1]);
    app.Find<QPushButton>("ButtonSelectFont").click();
    QCOMPARE(app.prompts.font_dialog_starts.back(), viewed);
    QCOMPARE(app.Text("EditWinFontName"), QString("DejaVu Sans Mono"));
    app.Find<QPushButton>("ButtonFontView").click();
    QCOMPARE(app.prompts.font_dialog_starts.back(), selected);
  }

  void PreviewDialogOpensAndCloses() {
    AppFixture app;
    app.prompts.on_dialog = [](QDialog& dialog) {
      QCOMPARE(dialog.size(), QSize(432, 507));
      auto* chart = dialog.findChild<QLabel*>("ImagePreview");
      QCOMPARE(chart->pixmap().size(), QSize(320, 480));
      // A grid line, and ink of "A" (code 0x41: row 4, column 1) inside its cell.
      const QImage image = chart->pixmap().toImage();
      QCOMPARE(QColor(image.pixel(20, 200)), QColor(Qt::black));
      bool inked = false;
      for (int y = 121; y < 150; ++y) {
        for (int x = 21; x < 40; ++x) inked = inked || image.pixel(x, y) != qRgb(255, 255, 255);
      }
      QVERIFY(inked);
      dialog.findChild<QPushButton*>("ButtonExit")->click();
    };
    app.Find<QPushButton>("ButtonPreviewFont").click();
    QCOMPARE(app.prompts.dialogs, std::vector<QString>{"TFormPreviewFont"});
  }

  void SaveFontWritesTheTabsHeader() {
    AppFixture app;
    QTemporaryDir dir;
    const QString path = dir.filePath("font.bmf");
    app.Type("EditFontWidth", "12");
    app.Type("EditFontHeight", "20");
    app.Type("EditItalicWidth", "2");
    app.Type("EditCharEnd", "64");
    app.Find<QComboBox>("ComboBoxFontPitch").setCurrentIndex(0);
    app.prompts.files.push_back(path);
    QVERIFY(app.ClickAndWait("ButtonSaveFont"));
    QVERIFY(app.prompts.messages.empty());
    const std::vector<std::uint8_t> file = ReadAll(path);
    StoredFont font;
    QCOMPARE(QString::fromStdString(ReadBitmapFont(file, font)), QString());
    QCOMPARE(font.header.pitch, 0);
    QCOMPARE(font.header.cell_width, 12);
    QCOMPARE(font.header.cell_height, 20);
    QCOMPARE(font.header.italic_width, 2);
    QCOMPARE(font.header.first_code, 32);
    QCOMPARE(font.header.last_code, 64);
    QCOMPARE(font.glyphs.size(), std::size_t{33});
  }

  void BadFieldsAreRefusedAndWriteNothing() {
    AppFixture app;
    QTemporaryDir dir;
    const QString path = dir.filePath("font.bmf");
    const std::pair<const char*, QString> cases[][2] = {
        {{"EditFontWidth", "12x"}, {nullptr, {}}},
        {{"EditCharEnd", ""}, {nullptr, {}}},
        {{"EditCharEnd", "256"}, {nullptr, {}}},
        {{"EditFontWidth", "2048"}, {"EditFontHeight", "257"}},
        {{"EditCharStart", "100"}, {"EditCharEnd", "50"}},
    };
    // The headline, and under it the field at fault and why.
    const std::pair<QString, QString> expected[] = {
        {"'12x' is not a valid integer value", "Font Width takes a whole number from 0 to 2048."},
        {"Font Parameter Error", "Character End ASCII is empty"},
        {"Font Parameter Error", "Character End ASCII: '256' is too large; 0 to 255"},
        {"Font Parameter Error",
         "A cell of 2048 x 257 dots takes 65792 bytes a glyph; at most 65536"},
        {"Make Font Error", "Character Start ASCII 100 is above Character End ASCII 50"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      app.Type("EditCharStart", "32");
      app.Type("EditCharEnd", "127");
      app.Type("EditFontWidth", "12");
      app.Type("EditFontHeight", "20");
      for (const auto& [edit, text] : cases[i]) {
        if (edit != nullptr) app.Type(edit, text);
      }
      app.prompts.files.push_back(path);
      QVERIFY(app.ClickAndWait("ButtonSaveFont"));
      QCOMPARE(LastMessage(app), expected[i].first);
      QCOMPARE(app.prompts.messages.back().detail, expected[i].second);
      QVERIFY(!QFile::exists(path));
      QVERIFY(app.window->isEnabled());
    }
  }

  // A font without the measuring character measures 0 dots wide: a fixed-pitch font of empty
  // cells is refused before anything is made or sent, as the command line refuses it.
  void AsianFontWithoutTheMeasuringCharacterIsRefused() {
    AppFixture app;
    QTemporaryDir dir;
    app.Choose("ComboBoxFontEncode", kAsianFontEncode);
    app.prompts.fonts.push_back(QFont("DejaVu Sans", 12));
    app.Find<QPushButton>("ButtonSelectFont").click();
    QCOMPARE(app.Text("EditFontWidth"), QString("0"));
    app.prompts.files.push_back(dir.filePath("font.bmf"));
    QVERIFY(app.ClickAndWait("ButtonSaveFont"));
    QVERIFY(app.ClickAndWait("ButtonDowloadFont"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{2});
    for (const auto& shown : app.prompts.messages) {
      QCOMPARE(shown.text, QString("Font Parameter Error"));
      QVERIFY2(shown.detail.startsWith("\"DejaVu Sans\" has no glyph for the measuring character"),
               qPrintable(shown.detail));
    }
    QVERIFY(QDir(dir.path()).isEmpty());
    QCOMPARE(app.server.ConnectionCount(), std::size_t{0});
  }

  // Cancel stops the making at the next glyph: no font file, no temporary one, nothing sent.
  void CancelWhileMakingAFontLeavesNoFile() {
    AppFixture app;
    QTemporaryDir dir;
    app.Choose("ComboBoxFontEncode", kAsianFontEncode);
    app.Find<RadioGroup>("RadioGroupAsiaFontEncode").SetItemIndex(kLanguageSimplifiedChinese);
    app.Type("EditFontWidth", "24");
    app.Type("EditFontHeight", "24");
    const std::pair<const char*, QString> cases[] = {
        {"ButtonSaveFont", "Making the font · "},
        {"ButtonDowloadFont",
         QStringLiteral("Making and downloading Font001 · 127.0.0.1:%1 · ").arg(app.server.port())},
    };
    for (const auto& [button, busy] : cases) {
      app.prompts.files.push_back(dir.filePath("font.bmf"));
      app.Find<QPushButton>(button).click();
      const QString shown = app.Find<QLabel>("LabelBusy").text();
      QVERIFY2(shown.startsWith(busy), qPrintable(shown));
      app.Find<QPushButton>("ButtonCancelOperation").click();
      QVERIFY(app.WaitIdle());
      QCOMPARE(LastMessage(app), QString("The operation was cancelled"));
    }
    QCOMPARE(app.prompts.messages[0].detail, QString("No font file was saved."));
    QCOMPARE(app.prompts.messages[1].detail,
             QString("The printer may hold part of the file; download it again."));
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(QDir::temp().entryList({"vantrel-font-*"}, QDir::Dirs).isEmpty());
    QCOMPARE(app.server.ConnectionCount(), std::size_t{0});
  }

  void TableLoadTicksByFileAndTheFileDecides() {
    AppFixture app;
    QTemporaryDir dir;
    const QString table = dir.filePath("table.txt");
    std::ofstream(table.toStdString(), std::ios::binary) << "AB\r\nC";
    app.Choose("ComboBoxFontEncode", 2);
    app.prompts.files.push_back(table);
    app.Find<QPushButton>("ButtonFontTblLoad").click();
    QVERIFY(app.Find<QCheckBox>("CheckBoxFileTable").isChecked());
    QCOMPARE(app.Find<QPlainTextEdit>("MemoFontTable").toPlainText(), QString("AB\nC"));
    // Changed on disk after Load: the font takes the file's new content.
    std::ofstream(table.toStdString(), std::ios::binary) << "XYZW";
    const QString path = dir.filePath("font.bmf");
    app.prompts.files.push_back(path);
    QVERIFY(app.ClickAndWait("ButtonSaveFont"));
    StoredFont font;
    QCOMPARE(QString::fromStdString(ReadBitmapFont(ReadAll(path), font)), QString());
    QCOMPARE(font.glyphs.size(), std::size_t{4});
    QCOMPARE(font.glyphs[3].code, std::uint16_t{'W'});
    // The memo saved as a table file has CR LF line ends.
    const QString saved = dir.filePath("saved.txt");
    app.prompts.files.push_back(saved);
    app.Find<QPushButton>("ButtonFontTblSave").click();
    const std::vector<std::uint8_t> bytes = ReadAll(saved);
    QCOMPARE(std::string(bytes.begin(), bytes.end()), std::string("AB\r\nC"));
  }

  // The memo's table is saved in the code page of the locale the window was given.
  void TableSaveFollowsTheLocaleOfTheOptions() {
    const struct {
      const char* locale;
      const char* memo;
      std::string bytes;
    } cases[] = {
        {"zh_TW", "中", "\xA4\xA4"}, {"zh_CN", "中", "\xD6\xD0"}, {"ko_KR", "한", "\xC7\xD1"},
        {"ja_JP", "日", "\x93\xFA"}, {"en_US", "é", "\xE9"},
    };
    for (const auto& c : cases) {
      AppFixture app([&](MainWindowOptions& options) { options.locale_name = c.locale; });
      QTemporaryDir dir;
      app.Choose("ComboBoxFontEncode", 2);
      app.Find<QPlainTextEdit>("MemoFontTable").setPlainText(QString::fromUtf8(c.memo));
      const QString saved = dir.filePath("saved.txt");
      app.prompts.files.push_back(saved);
      app.Find<QPushButton>("ButtonFontTblSave").click();
      QVERIFY2(app.prompts.messages.empty(), c.locale);
      const std::vector<std::uint8_t> bytes = ReadAll(saved);
      QVERIFY2(std::string(bytes.begin(), bytes.end()) == c.bytes, c.locale);
    }
  }

  void TableLoadOfWhatIsNoFileSaysWhyAndKeepsTheMemo() {
    AppFixture app;
    QTemporaryDir dir;
    app.Choose("ComboBoxFontEncode", 2);
    app.Find<QPlainTextEdit>("MemoFontTable").setPlainText("AB");
    for (const auto& [label, path] : vantrel::testing::UnreadablePaths(dir.path().toStdString())) {
      app.prompts.files.push_back(QString::fromStdString(path));
      app.Find<QPushButton>("ButtonFontTblLoad").click();
      QVERIFY2(LastMessage(app) == "The table cannot be loaded.", label);
      QVERIFY2(app.prompts.messages.back().detail.contains(QString::fromStdString(path)), label);
    }
    QCOMPARE(app.Find<QPlainTextEdit>("MemoFontTable").toPlainText(), QString("AB"));
    QVERIFY(!app.Find<QCheckBox>("CheckBoxFileTable").isChecked());
  }

  void DownloadFontSendsItToThePrinter() {
    AppFixture app;
    app.Type("EditCharEnd", "40");
    QVERIFY(app.ClickAndWait("ButtonDowloadFont"));
    QVERIFY(app.prompts.messages.empty());
    const std::string received = app.Received(1);
    QVERIFY(received.rfind("DOWNLOAD F,\"Font001\",", 0) == 0);
    QVERIFY(received.find(",B") != std::string::npos);
    QVERIFY(QDir::temp().entryList({"vantrel-font-*"}, QDir::Dirs).isEmpty());
    QCOMPARE(app.Find<QLabel>("StatusBar1Panel2").text(),
             QStringLiteral("Font001 downloaded to FLASH on 127.0.0.1:%1").arg(app.server.port()));
    // A name that cannot travel is refused before anything is made.
    app.Type("EditPrinterFontName", "Bad\"Name");
    QVERIFY(app.ClickAndWait("ButtonDowloadFont"));
    QCOMPARE(LastMessage(app), QString("Font Parameter Error"));
  }
};

VANTREL_APP_TEST(FontManagerTabTest);

}  // namespace vantrel::app::testing

#include "font_manager_tab_test.moc"
