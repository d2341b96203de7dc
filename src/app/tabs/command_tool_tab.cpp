#include "app/tabs/command_tool_tab.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "app/tabs/command_tool_encoding.h"
#include "app/widgets/controls.h"
#include "app/widgets/host_path.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"
#include "ops/send_raw_block.h"

namespace vantrel::app {
namespace {

const QString kAnyFile = QStringLiteral("*.*");

// Twice the editor's limit: every character of these code pages takes one or two bytes.
constexpr std::size_t kMaxLoadBytes = std::size_t{2} * CommandToolTab::kMaxCharacters;

constexpr LocalizedEntry kCommandToolTexts[] = {
    {"RadioGroupSelect", kCaption, {{"Editor", "編輯器", "编辑器"}}},
    {"LabelTextEncoding", kCaption, {{"Text Encoding", "文字編碼", "文本编码"}}},
    {"ComboBoxTextEncoding", 0, {{"1252 Western", "1252 西歐", "1252 西欧"}}},
    {"ComboBoxTextEncoding", 1, {{"950 Traditional Chinese", "950 繁體中文", "950 繁体中文"}}},
    {"ComboBoxTextEncoding", 2, {{"936 Simplified Chinese", "936 簡體中文", "936 简体中文"}}},
    {"ComboBoxTextEncoding", 3, {{"949 Korean", "949 韓文", "949 韩文"}}},
    {"ComboBoxTextEncoding", 4, {{"932 Japanese", "932 日文", "932 日文"}}},
};

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

QStringList BufferNumbers() {
  QStringList numbers;
  for (int n = 1; n <= CommandToolTab::kBufferCount; ++n) numbers << QString::number(n);
  return numbers;
}

}  // namespace

std::span<const LocalizedEntry> CommandToolTexts() {
  return kCommandToolTexts;
}

CommandToolTab::CommandToolTab(TabHost& host, AnsiCodePage code_page, QWidget* parent,
                               int max_characters)
    : QWidget(parent), host_(host), prompts_(host.prompts()), max_characters_(max_characters) {
  setObjectName("TabSheet4");
  BuildLayout();
  SetCodePage(code_page);
  ConnectHandlers();
}

AnsiCodePage CommandToolTab::code_page() const {
  const int index = std::max(0, ComboBoxTextEncoding->currentIndex());
  return kCommandCodePages[static_cast<std::size_t>(index)];
}

void CommandToolTab::SetCodePage(AnsiCodePage code_page) {
  const auto* found =
      std::find(std::begin(kCommandCodePages), std::end(kCommandCodePages), code_page);
  ComboBoxTextEncoding->setCurrentIndex(
      found == std::end(kCommandCodePages) ? 0 : static_cast<int>(found - kCommandCodePages));
}

void CommandToolTab::BuildLayout() {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  RichEditTText = new QPlainTextEdit(this);
  RichEditTText->setObjectName("RichEditTText");
  RichEditTText->setLineWrapMode(QPlainTextEdit::NoWrap);
  RichEditTText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEditTText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEditTText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(RichEditTText, 1);

  auto* column = new QVBoxLayout;
  RadioGroupSelect =
      new RadioGroup("RadioGroupSelect", "Editor", BufferNumbers(), Qt::Vertical, this);
  RadioGroupSelect->SetItemIndex(0);
  // Twelve items packed close, so the tab is no taller than the configuration tab.
  RadioGroupSelect->layout()->setSpacing(0);
  column->addWidget(RadioGroupSelect);
  column->addWidget(NewLabel(this, "LabelTextEncoding"));
  ComboBoxTextEncoding =
      NewList(this, "ComboBoxTextEncoding", QStringList(std::size(kCommandCodePages)));
  column->addWidget(ComboBoxTextEncoding);
  column->addStretch(1);
  for (const char* name : {"ButtonSend", "ButtonSendFile", "ButtonLoadFile", "ButtonSaveFile"}) {
    column->addWidget(NewButton(this, name));
  }
  layout->addLayout(column);
}

void CommandToolTab::ConnectHandlers() {
  OnClick(prompts_, this, "ButtonSend", &CommandToolTab::ButtonSendClick);
  OnClick(prompts_, this, "ButtonSendFile", &CommandToolTab::ButtonSendFileClick);
  OnClick(prompts_, this, "ButtonLoadFile", &CommandToolTab::ButtonLoadFileClick);
  OnClick(prompts_, this, "ButtonSaveFile", &CommandToolTab::ButtonSaveFileClick);
  connect(RadioGroupSelect, &RadioGroup::Clicked, this,
          Guarded(prompts_, this, &CommandToolTab::RadioGroupSelectClick));
  connect(RichEditTText->document(), &QTextDocument::contentsChange, this,
          [this](int position, int, int added) {
            Guard(prompts_, [&] { KeepWithinLimit(position, added); });
          });
}

void CommandToolTab::KeepWithinLimit(int position, int added) {
  QTextDocument* document = RichEditTText->document();
  const int excess = document->characterCount() - 1 - max_characters_;
  if (excess <= 0 || added <= 0) return;
  const int end = std::min(position + added, document->characterCount() - 1);
  QTextCursor excess_text(document);
  excess_text.setPosition(std::max(position, end - excess));
  excess_text.setPosition(end, QTextCursor::KeepAnchor);
  // Removed once the edit is over: the document is not changed from within its own signal,
  // and the cursor follows whatever comes in between.
  QTimer::singleShot(0, this, [excess_text]() mutable { excess_text.removeSelectedText(); });
}

void CommandToolTab::RadioGroupSelectClick(int index) {
  if (index == current_buffer_ || index < 0 || index >= kBufferCount) return;
  buffers_[static_cast<std::size_t>(current_buffer_)] = RichEditTText->toPlainText();
  RichEditTText->setPlainText(buffers_[static_cast<std::size_t>(index)]);
  current_buffer_ = index;
}

std::optional<std::string> CommandToolTab::EncodedEditorText(bool selection_only,
                                                             const QString& refusal) {
  QTextCursor cursor = RichEditTText->textCursor();
  if (!selection_only || !cursor.hasSelection()) {
    cursor = QTextCursor(RichEditTText->document());
    cursor.select(QTextCursor::Document);
  }
  // A selection's text keeps no-break spaces, which a plain text would turn into spaces.
  const int first_line =
      RichEditTText->document()->findBlock(cursor.selectionStart()).blockNumber();
  CommandBytes encoded = EncodeCommandText(cursor.selectedText(), code_page(), first_line + 1);
  if (!encoded.error.isEmpty()) {
    prompts_.Message(encoded.error + " " + refusal);
    return std::nullopt;
  }
  return std::move(encoded.bytes);
}

void CommandToolTab::SendBytes(std::vector<std::uint8_t> bytes) {
  sent_bytes_ = std::move(bytes);
  host_.StartOperation(kOpSendRawBlock, RawBlock{sent_bytes_}, 0, {},
                       [this] { RichEditTText->setFocus(); });
}

void CommandToolTab::ButtonSendClick() {
  const std::optional<std::string> text =
      EncodedEditorText(true, QStringLiteral("Nothing was sent."));
  if (!text) {
    RichEditTText->setFocus();
    return;
  }
  SendBytes(std::vector<std::uint8_t>(text->begin(), text->end()));
}

void CommandToolTab::ButtonSendFileClick() {
  const std::optional<QString> path = prompts_.OpenFile(kAnyFile);
  if (!path) return;
  std::vector<std::uint8_t> bytes;
  const HostFileResult read = ReadHostFile(HostPath(*path), kMaxRawBlockBytes, bytes);
  if (read.code == HostFileError::kTooLarge) {
    prompts_.Message(QStringLiteral("The file is too large to send."), ToQString(read.detail));
    return;
  }
  if (!read.ok()) {
    prompts_.Message(QStringLiteral("Open file Error!!!"), ToQString(read.detail));
    return;
  }
  SendBytes(std::move(bytes));
}

void CommandToolTab::ButtonLoadFileClick() {
  const std::optional<QString> path = prompts_.OpenFile(kAnyFile);
  if (!path) return;
  std::vector<std::uint8_t> bytes;
  const HostFileResult read = ReadHostFile(HostPath(*path), kMaxLoadBytes, bytes);
  if (!read.ok()) {
    prompts_.Message(QStringLiteral("The file cannot be loaded."), ToQString(read.detail));
    return;
  }
  const LoadedText loaded = DecodeCommandText(bytes, code_page(), QFileInfo(*path).fileName());
  if (RichEditTText->document()->characterCount() - 1 + loaded.text.size() > max_characters_) {
    prompts_.Message(QStringLiteral("The editor holds at most %1 characters; nothing was loaded.")
                         .arg(max_characters_));
    return;
  }
  QTextCursor end(RichEditTText->document());
  end.movePosition(QTextCursor::End);
  end.insertText(loaded.text);
  if (!loaded.warning.isEmpty()) prompts_.Message(loaded.warning);
}

void CommandToolTab::ButtonSaveFileClick() {
  const std::optional<QString> path = prompts_.SaveFile(kAnyFile, QString());
  if (!path) return;
  const std::optional<std::string> text =
      EncodedEditorText(false, QStringLiteral("Nothing was saved."));
  if (!text) return;
  const HostFileResult written =
      ReplaceHostFile(HostPath(*path),
                      std::span(reinterpret_cast<const std::uint8_t*>(text->data()), text->size()));
  if (!written.ok()) {
    prompts_.Message(QStringLiteral("The file cannot be saved."), ToQString(written.detail));
  }
}

}  // namespace vantrel::app
