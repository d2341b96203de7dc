#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/dialogs/net_setup_dialog.h"
#include "app/main_window.h"
#include "app/prompts.h"
#include "engine/sim_printer.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::app::testing {

// Answers every prompt from a script and records what was shown.
class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    QString text;
    QString detail;
  };

  void Message(const QString& text, const QString& detail) override {
    messages.push_back({text, detail});
  }
  bool Question(const QString& text, const QString& detail) override {
    asked.push_back({text, detail});
    return Next(answers, false);
  }
  std::optional<QString> OpenFile(const QString& filter) override {
    filters.push_back(filter);
    return Next(files, std::optional<QString>());
  }
  std::optional<QString> SaveFile(const QString& filter, const QString& suffix) override {
    filters.push_back(filter);
    suffixes.push_back(suffix);
    return Next(files, std::optional<QString>());
  }
  // Hands the dialog to `on_dialog`, which plays the user; rejected when there is none.
  int RunDialog(QDialog& dialog) override {
    dialogs.push_back(dialog.objectName());
    if (on_dialog) on_dialog(dialog);
    return dialog.result();
  }

  bool Confirm(const QString& text, const QString& detail) override {
    confirmations.push_back(text);
    asked.push_back({text, detail});
    return Next(answers, false);
  }
  std::optional<QString> OpenFileIn(const QString& filter, const QString& folder) override {
    folders.push_back(folder);
    return OpenFile(filter);
  }
  std::optional<QFont> ChooseFont(const QFont& initial) override {
    font_dialog_starts.push_back(initial);
    return Next(fonts, std::optional<QFont>());
  }

  std::vector<Shown> messages;
  // Every question and confirmation, with what it said it decides.
  std::vector<Shown> asked;
  std::deque<bool> answers;
  std::deque<std::optional<QString>> files;
  std::vector<QString> filters;
  std::vector<QString> suffixes;
  std::vector<QString> dialogs;
  std::function<void(QDialog&)> on_dialog;
  std::vector<QString> confirmations;
  std::vector<QString> folders;
  std::deque<std::optional<QFont>> fonts;
  std::vector<QFont> font_dialog_starts;

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// A main window on ETHERNET aimed at a simulated printer served in this process, with waits
// short enough for tests. `adjust` changes the window's options before it is built.
class AppFixture {
 public:
  explicit AppFixture(const std::function<void(MainWindowOptions&)>& adjust = {},
                      sim::SimState state = {});
  ~AppFixture();

  template <typename Control>
  Control& Find(const char* name) const {
    auto* control = window->findChild<Control*>(QLatin1String(name));
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *control;
  }
  QString Text(const char* edit) const { return Find<QLineEdit>(edit).text(); }
  void Type(const char* edit, const QString& text) const { Find<QLineEdit>(edit).setText(text); }
  // Chooses a list item as the user would, so the list's change handler runs.
  void Choose(const char* list, int index) const;
  // Clicks a button and waits until the operation it may have started has ended.
  bool ClickAndWait(const char* button) const;
  bool WaitIdle() const;

  // What the printer received over the connections closed so far.
  std::string Received(std::size_t connections) const;

  ScriptedPrompts prompts;
  sim::SimPrinter printer;
  sim::SimTcpServer server;
  std::unique_ptr<TFormMain> window;
};

// A named control inside a dialog or a tab.
template <typename Control>
Control& In(QWidget& parent, const char* name) {
  auto* control = parent.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

inline void Press(QWidget& parent, const char* button) {
  In<QPushButton>(parent, button).click();
}

// Waits until the network setup dialog's discovery or Change IP exchange is over.
bool Settled(TFormNetSetup& dialog);

// Opens "TCP/IP Setup" from "Setup" on ETHERNET; `play` runs once its opening discovery is
// over, and `edit` plays the Ethernet settings dialog if Change IP opens it.
void OpenNetSetup(AppFixture& app, const std::function<void(TFormNetSetup&)>& play,
                  const std::function<void(TFormEthernetSetup&)>& edit = {});

// Waits that keep a failing test short.
inline constexpr std::chrono::milliseconds kTestWait{400};

}  // namespace vantrel::app::testing
