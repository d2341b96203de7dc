#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/operation_runner.h"
#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "common/ansi_code_page.h"
#include "link/link_settings.h"
#include "net/net_setup_session.h"

namespace vantrel::app {

// What the network setup dialog takes from its owner.
struct NetSetupEnvironment {
  Prompts* prompts = nullptr;  // not owned
  LanguageIndex language = kEnglish;
  DatagramTargets datagrams;
  // Opens a URL in the user's browser, false when none could be started; empty: the desktop's
  // URL handler (never a shell).
  std::function<bool(const QString& url)> open_url;
  AnsiCodePage code_page = AnsiCodePage::kWestern;  // of the printers' names
};

// "TCP/IP Setup": finds the printers on the network, aims the ETHERNET link at one (the target
// is written on "Exit", and on opening when it is empty), resets a printer's network settings
// or changes them by datagrams. Discovery and Change IP run on a worker thread while the
// dialog repaints with its buttons disabled; a discovery starts as soon as it is created.
class TFormNetSetup : public QDialog {
  Q_OBJECT

 public:
  TFormNetSetup(NetworkTarget& target, NetSetupEnvironment environment, QWidget* parent = nullptr);

  bool busy() const { return runner_.busy(); }

 public slots:
  // Not while an exchange runs.
  void reject() override;

 private:
  using Rows = std::vector<DeviceListRow>;

  void BuildLayout();
  void ConnectHandlers();
  void ApplyLanguage();
  void FitToTexts();
  void SetBusy(bool busy);
  // Runs `work` on the worker with the buttons disabled, then `done` here.
  void RunExchange(std::function<void()> work, std::function<void()> done);
  void RunDiscovery(std::function<void(const Rows&)> then = {});
  void ShowRows(const Rows& rows);
  void OpeningDiscoveryDone(const Rows& rows);
  void ShowFailure(const LinkFailure& failure);
  QTreeWidgetItem* SelectedRow() const;
  void EditAndSend(std::shared_ptr<ChangeIpRun> run, std::shared_ptr<NetSettings> settings);

  void ButtonDiscoverClick();
  void ListView1Click();
  void ButtonChangeIPClick();
  void ButtonFactoryDefaultClick();
  void ButtonBrowserClick();
  void ButtonExitClick();

  NetworkTarget& target_;
  NetSetupEnvironment environment_;
  NetSetupSession session_;
  OperationRunner runner_;  // after the session: destroyed first, waiting for its exchange
  QTreeWidget* ListView1 = nullptr;
  QLineEdit* EditIPAddr = nullptr;
  QLineEdit* EditPort = nullptr;
};

}  // namespace vantrel::app
