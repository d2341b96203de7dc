#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/tab_host.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"

namespace vantrel::app {

// The "Command Tool" tab: a terminal for the printer command language with twelve editor
// buffers, whose text is sent, loaded and saved as bytes of the chosen code page.
class CommandToolTab : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kBufferCount = 12;
  static constexpr int kMaxCharacters = 10'485'760;

  // `code_page` is the one chosen at first; `max_characters` is the editor's limit, which
  // tests make small.
  CommandToolTab(TabHost& host, AnsiCodePage code_page, QWidget* parent = nullptr,
                 int max_characters = kMaxCharacters);

  AnsiCodePage code_page() const;
  void SetCodePage(AnsiCodePage code_page);

 private:
  void BuildLayout();
  void ConnectHandlers();
  // Drops what a typed or pasted text adds beyond the limit.
  void KeepWithinLimit(int position, int added);
  // The editor's text, or its selection, in the chosen code page; nothing, after a message
  // ending in `refusal`, when a character has no code there.
  std::optional<std::string> EncodedEditorText(bool selection_only, const QString& refusal);
  void SendBytes(std::vector<std::uint8_t> bytes);

  void RadioGroupSelectClick(int index);
  void ButtonSendClick();
  void ButtonSendFileClick();
  void ButtonLoadFileClick();
  void ButtonSaveFileClick();

  TabHost& host_;
  Prompts& prompts_;
  const int max_characters_;
  // The bytes being sent; they live here until the sending has ended.
  std::vector<std::uint8_t> sent_bytes_;
  std::array<QString, kBufferCount> buffers_;
  int current_buffer_ = 0;

  QPlainTextEdit* RichEditTText = nullptr;
  RadioGroup* RadioGroupSelect = nullptr;
  QComboBox* ComboBoxTextEncoding = nullptr;
};

// The tab's own captions (the encoding selector), walked with the main window's language.
std::span<const LocalizedEntry> CommandToolTexts();

}  // namespace vantrel::app
