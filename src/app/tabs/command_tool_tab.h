#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"

namespace vantrel::app {

// What the command tool takes from the main window.
struct CommandToolHost {
  Prompts* prompts = nullptr;  // not owned
  // Sends the bytes unchanged in the main window's calling pattern (off the window thread,
  // with the progress window, a failure's message shown); `finished` runs afterwards on the
  // window thread, whatever the result.
  std::function<void(std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                     std::function<void()> finished)>
      send;
};

// The "Command Tool" tab: a terminal for the printer command language with twelve editor
// buffers, whose text is sent, loaded and saved as bytes of the chosen code page.
class CommandToolTab : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kBufferCount = 12;
  static constexpr int kMaxCharacters = 10'485'760;
  // The largest block the link can be handed in one send: its count is an int.
  static constexpr std::size_t kMaxSendBytes = 0x7FFFFFFF;

  // `max_characters` is the editor's limit; tests make it small.
  explicit CommandToolTab(CommandToolHost host, QWidget* parent = nullptr,
                          int max_characters = kMaxCharacters);

  AnsiCodePage code_page() const;
  void SetCodePage(AnsiCodePage code_page);

 private:
  void BuildLayout();
  void ConnectHandlers();
  void OnClick(const char* button, void (CommandToolTab::*handler)());
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

  CommandToolHost host_;
  const int max_characters_;
  std::array<QString, kBufferCount> buffers_;
  int current_buffer_ = 0;

  QPlainTextEdit* RichEditTText = nullptr;
  RadioGroup* RadioGroupSelect = nullptr;
  QComboBox* ComboBoxTextEncoding = nullptr;
};

// The tab's own captions (the encoding selector), walked with the main window's language.
std::span<const LocalizedEntry> CommandToolTexts();

}  // namespace vantrel::app
