// The Command Tool tab: buffers, Send and Send File against the simulated printer, Load and Save
// through files, and the code page the text travels in.
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/tabs/command_tool_tab.h"
#include "ops/send_raw_block.h"
#include "support/unreadable_paths.h"

namespace vantrel::app::testing {
namespace {

struct CommandTool {
  CommandTool() { app.Find<QTabWidget>("PageControl1").setCurrentIndex(3); }

  QPlainTextEdit& Editor() const { return app.Find<QPlainTextEdit>("RichEditTText"); }
  void SelectBuffer(int index) const {
    app.Find<QRadioButton>(QStringLiteral("RadioGroupSelectItem%1").arg(index).toLatin1()).click();
  }
  void SelectCodePage(AnsiCodePage code_page) const {
    app.Find<CommandToolTab>("TabSheet4").SetCodePage(code_page);
  }
  // Clicks Send and returns what the printer received over that one connection.
  std::string Send() {
    app.server.ClearReceived();
    if (!app.ClickAndWait("ButtonSend")) return "<busy>";
    return app.Received(++connections);
  }
  QString File(const char* name) const { return dir.filePath(name); }
  void WriteFile(const char* name, std::string_view bytes) const {
    std::ofstream(File(name).toStdString(), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string ReadFile(const char* name) const {
    std::ifstream in(File(name).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Clicks a file button with the file dialog answered by `name` (nothing: cancelled).
  void ClickWithFile(const char* button, const char* name) {
    app.prompts.files.push_back(name == nullptr ? std::nullopt : std::optional(File(name)));
    app.ClickAndWait(button);
  }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& shown : app.prompts.messages) texts << shown.text;
    return texts;
  }

  AppFixture app;
  QTemporaryDir dir;
  std::size_t connections = 0;
};

void Select(QPlainTextEdit& editor, int from, int to) {
  QTextCursor cursor = editor.textCursor();
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  editor.setTextCursor(cursor);
}

}  // namespace

class CommandToolTest : public QObject {
  Q_OBJECT

 private slots:
  void BuffersKeepTheirTextsAndTheSameItemChangesNothing() {
    CommandTool tool;
    tool.Editor().setPlainText("SIZE 4,2");
    tool.SelectBuffer(1);
    QVERIFY(tool.Editor().toPlainText().isEmpty());
    tool.Editor().setPlainText("CLS");
    tool.SelectBuffer(11);
    tool.SelectBuffer(0);
    QCOMPARE(tool.Editor().toPlainText(), QString("SIZE 4,2"));
    tool.Editor().setPlainText("SIZE 3,1");
    tool.SelectBuffer(0);
    QCOMPARE(tool.Editor().toPlainText(), QString("SIZE 3,1"));
    tool.SelectBuffer(1);
    QCOMPARE(tool.Editor().toPlainText(), QString("CLS"));
    tool.SelectBuffer(0);
    QCOMPARE(tool.Editor().toPlainText(), QString("SIZE 3,1"));
  }

  void SendTakesTheSelectionOrTheWholeTextAsTyped() {
    CommandTool tool;
    tool.app.window->show();
    tool.Editor().setPlainText("SIZE 4,2\nCLS\nPRINT 1\n");
    QCOMPARE(tool.Send(), std::string("SIZE 4,2\r\nCLS\r\nPRINT 1\r\n"));
    QCOMPARE(tool.app.window->focusWidget(), &tool.Editor());
    Select(tool.Editor(), 5, 12);
    QCOMPARE(tool.Send(), std::string("4,2\r\nCLS"));
    tool.Editor().clear();
    QCOMPARE(tool.Send(), std::string());
    QVERIFY(tool.app.prompts.messages.empty());
  }

  void TextTravelsInTheChosenCodePage() {
    CommandTool tool;
    const std::tuple<AnsiCodePage, const char*, std::string> cases[] = {
        {AnsiCodePage::kTraditionalChinese, "TEXT \"中文\"", "TEXT \"\xA4\xA4\xA4\xE5\""},
        {AnsiCodePage::kSimplifiedChinese, "TEXT \"中文\"", "TEXT \"\xD6\xD0\xCE\xC4\""},
        {AnsiCodePage::kWestern, "caf\u00e9\u00a0", "caf\xE9\xA0"},
    };
    for (const auto& [code_page, text, bytes] : cases) {
      tool.SelectCodePage(code_page);
      tool.Editor().setPlainText(QString::fromUtf8(text));
      QCOMPARE(tool.Send(), bytes);
    }
    // A simplified-only character has no Big5 code: refused by name and line, nothing sent.
    tool.SelectCodePage(AnsiCodePage::kTraditionalChinese);
    tool.Editor().setPlainText(QString::fromUtf8("CLS\nTEXT \"简\"\nPRINT 1"));
    Select(tool.Editor(), 4, 14);
    QVERIFY(tool.app.ClickAndWait("ButtonSend"));
    QCOMPARE(tool.app.server.ConnectionCount(), tool.connections);
    QCOMPARE(tool.Messages(),
             QStringList(QString::fromUtf8("The character \"简\" (U+7B80) on line 2 has no code in "
                                           "code page 950. Nothing was sent.")));
  }

  void SendFileSendsTheBytesUnchangedOrSaysWhyNot() {
    CommandTool tool;
    const std::string bytes("\x1b!R\r\n\0\xFF\n", 8);
    tool.WriteFile("raw.bin", bytes);
    tool.app.server.ClearReceived();
    tool.ClickWithFile("ButtonSendFile", "raw.bin");
    QCOMPARE(tool.app.Received(1), bytes);
    tool.ClickWithFile("ButtonSendFile", nullptr);
    tool.ClickWithFile("ButtonSendFile", "missing.bin");
    // Beyond what one send can carry: refused before the link opens (a sparse file).
    std::filesystem::resize_file(tool.File("raw.bin").toStdString(), kMaxRawBlockBytes + 1);
    tool.ClickWithFile("ButtonSendFile", "raw.bin");
    QCOMPARE(tool.Messages(),
             QStringList({"Open file Error!!!", "The file is too large to send."}));
    QCOMPARE(tool.app.server.ConnectionCount(), std::size_t{1});
  }

  // A FIFO among them: the click must come back rather than wait for a writer.
  void WhatIsNoFileIsRefusedWithItsCauseAndNothingIsSent() {
    CommandTool tool;
    const struct {
      const char* button;
      const char* message;
    } buttons[] = {{"ButtonLoadFile", "The file cannot be loaded."},
                   {"ButtonSendFile", "Open file Error!!!"}};
    for (const auto& [button, message] : buttons) {
      for (const auto& [label, path] :
           vantrel::testing::UnreadablePaths(tool.dir.path().toStdString())) {
        tool.app.prompts.messages.clear();
        tool.app.prompts.files.push_back(QString::fromStdString(path));
        tool.app.ClickAndWait(button);
        QVERIFY2(tool.Messages() == QStringList(message), label);
        QVERIFY2(tool.app.prompts.messages.back().detail.contains(QString::fromStdString(path)),
                 label);
      }
    }
    QCOMPARE(tool.Editor().toPlainText(), QString());
    QCOMPARE(tool.app.server.ConnectionCount(), std::size_t{0});
  }

  void LoadAppendsTheTextBeforeTheFirstNul() {
    CommandTool tool;
    tool.WriteFile("nul.txt", std::string("CLS\r\nPRINT\0JUNK", 15));
    tool.Editor().setPlainText("SIZE 4,2\n");
    tool.ClickWithFile("ButtonLoadFile", "nul.txt");
    tool.ClickWithFile("ButtonLoadFile", "nul.txt");
    QCOMPARE(tool.Editor().toPlainText(), QString("SIZE 4,2\nCLS\nPRINTCLS\nPRINT"));
    tool.ClickWithFile("ButtonLoadFile", "missing.txt");
    QCOMPARE(tool.Messages(), QStringList("The file cannot be loaded."));
    QCOMPARE(tool.app.server.ConnectionCount(), std::size_t{0});
  }

  void LoadSaysWhichBytesTheCodePageCannotRead() {
    CommandTool tool;
    tool.SelectCodePage(AnsiCodePage::kTraditionalChinese);
    tool.WriteFile("odd.txt", "A\xFF\xA4\xA4\xFF");
    tool.ClickWithFile("ButtonLoadFile", "odd.txt");
    QCOMPARE(tool.Editor().toPlainText(), QString::fromUtf8("A\uFFFD中\uFFFD"));
    QCOMPARE(tool.Messages(),
             QStringList(QString::fromUtf8("2 byte(s) of odd.txt have no character in code page "
                                           "950 (the first at byte 1); each is shown as \uFFFD.")));
  }

  void SaveThenLoadGivesTheSameText() {
    CommandTool tool;
    tool.SelectCodePage(AnsiCodePage::kSimplifiedChinese);
    const QString text = QString::fromUtf8("TEXT \"简体\"\n\nPRINT 1");
    tool.Editor().setPlainText(text);
    tool.ClickWithFile("ButtonSaveFile", "saved.txt");
    QCOMPARE(tool.ReadFile("saved.txt"), std::string("TEXT \"\xBC\xF2\xCC\xE5\"\r\n\r\nPRINT 1"));
    QCOMPARE(tool.app.prompts.suffixes, std::vector<QString>{QString()});
    tool.SelectBuffer(5);
    tool.ClickWithFile("ButtonLoadFile", "saved.txt");
    QCOMPARE(tool.Editor().toPlainText(), text);
    QVERIFY(tool.app.prompts.messages.empty());
  }

  void SaveRefusalsLeaveTheOldFile() {
    CommandTool tool;
    tool.WriteFile("old.txt", "OLD");
    tool.Editor().setPlainText(QString::fromUtf8("TEXT \"中\""));
    tool.ClickWithFile("ButtonSaveFile", "old.txt");
    tool.Editor().setPlainText("NEW");
    tool.ClickWithFile("ButtonSaveFile", "no/such/folder.txt");
    QCOMPARE(tool.ReadFile("old.txt"), std::string("OLD"));
    QCOMPARE(tool.Messages().size(), 2);
    QVERIFY(tool.Messages()[0].endsWith("code page 1252. Nothing was saved."));
    QCOMPARE(tool.Messages()[1], QString("The file cannot be saved."));
    QVERIFY(!tool.app.prompts.messages[1].detail.isEmpty());
  }

  void EditorKeepsItsCharacterLimit() {
    AppFixture app;
    ScriptedPrompts& prompts = app.prompts;
    CommandToolTab tab(*app.window, AnsiCodePage::kWestern, nullptr, 10);
    auto& editor = *tab.findChild<QPlainTextEdit*>("RichEditTText");
    editor.insertPlainText("12345678");
    editor.insertPlainText("ABCDE");
    QTRY_COMPARE(editor.toPlainText(), QString("12345678AB"));
    QTemporaryDir dir;
    const QString path = dir.filePath("one.txt");
    std::ofstream(path.toStdString()) << "X";
    prompts.files.push_back(path);
    tab.findChild<QPushButton*>("ButtonLoadFile")->click();
    QCOMPARE(editor.toPlainText(), QString("12345678AB"));
    QCOMPARE(prompts.messages.size(), std::size_t{1});
  }
};

VANTREL_APP_TEST(CommandToolTest);

}  // namespace vantrel::app::testing

#include "command_tool_test.moc"
