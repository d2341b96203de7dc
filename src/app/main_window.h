#pragma once

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/busy_panel.h"
#include "app/operation_runner.h"
#include "app/progress_window.h"
#include "app/prompts.h"
#include "app/tab_host.h"
#include "app/tabs/configuration_tab.h"
#include "app/widgets/localized_texts.h"
#include "common/ansi_code_page.h"
#include "config/printer_config.h"
#include "config/unit_conversions.h"
#include "link/link_layer.h"
#include "link/serial_port_names.h"
#include "net/datagram_targets.h"
#include "net/net_settings.h"
#include "ops/operation_record.h"

namespace vantrel::app {

enum class ClockSource;

// How a main window starts; the defaults are the real program's.
struct MainWindowOptions {
  // Null: the real message boxes and dialogs. Not owned.
  Prompts* prompts = nullptr;
  TransportOpener opener = OpenSystemTransport;
  LinkWaits waits;
  std::chrono::milliseconds progress_end_delay{200};
  InterfaceKind interface = kInterfaceUsb;
  NetworkTarget network;
  // Where the network setup dialog's datagrams go; tests aim them at loopback.
  DatagramTargets datagrams;
  // Empty: the system's. The locale decides the language and the code page of printer texts.
  std::string locale_name;
  // Where the serial settings dialog finds the present ports; tests point it elsewhere.
  SerialDeviceRoots serial_devices;
  // On the simulated printer: the title says so.
  bool demo = false;
  // Opens the network dialog's web setup page, false when it cannot; empty: the desktop's URL
  // handler.
  std::function<bool(const QString& url)> open_url;
};

// The main window. It owns, for the whole run, the link settings, the current configuration,
// the last status and the language. Every printer exchange goes through RunOperation.
class TFormMain : public QMainWindow, public TabHost {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 692;
  static constexpr int kClientHeight = 586;

  explicit TFormMain(MainWindowOptions options = {});
  ~TFormMain() override;

  // The start-up probe on the selected interface and, when it answers, the read of its
  // configuration. Runs like any operation, so the window stays responsive meanwhile.
  void StartUp();

  bool busy() const { return runner_.busy(); }
  const PrinterConfig& config() const { return config_tab_->config(); }
  const StatusFlags& status() const { return config_tab_->status(); }
  const SerialSettings& serial() const { return serial_; }
  const ParallelPortName& parallel() const { return parallel_; }
  const NetworkTarget& network() const { return network_; }
  LanguageIndex language() const override { return language_; }
  ProgressWindow& progress_window() { return progress_window_; }

  // The tabs' host.
  Prompts& prompts() override { return *prompts_; }
  void StartOperation(int op, OperationRecord record, int extra, std::function<void()> on_success,
                      std::function<void()> afterwards) override;
  void StartLinkWork(WorkTexts texts, LinkWork work, std::function<bool()> on_success) override;

 signals:
  // An operation has ended and its result has been handled.
  void OperationFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  enum class OnFailure { kShowMessage, kStaySilent };

  // Building the window (main_window_layout.cpp).
  void BuildLayout();
  QWidget* NewTopRow();
  void BuildStatusBar();
  void ConnectHandlers();

  // The calling pattern: disable, place the progress window, run on the worker, then on this
  // thread show a failure or hand the record on, and enable again.
  void RunOperation(int op, OperationRecord record, int extra, std::function<void()> on_success,
                    OnFailure on_failure = OnFailure::kShowMessage);
  // `on_success` says whether the work did what `texts.done` names.
  void StartWork(WorkTexts texts, std::function<LinkFailure(LinkLayer&, InterfaceKind)> work,
                 std::function<bool()> on_success, OnFailure on_failure);
  // Only the busy panel stays enabled meanwhile, so the user can see and cancel the work.
  void ShowBusy(const WorkTexts& texts);
  void EndBusy();
  // Taken just before each operation, where the window stands then.
  void PlaceProgressWindow();
  void FinishOperation(const WorkTexts& texts, const LinkFailure& failure,
                       const std::exception_ptr& error, const std::function<bool()>& on_success,
                       OnFailure on_failure);
  void ShowResult(const LinkFailure& failure);
  // The selected interface's printer: "127.0.0.1:9100", "/dev/ttyS0", "USB".
  QString LinkTarget() const;

  void RefreshStatusBar();
  void DetectLanguage(const std::string& locale_name);
  void ApplyLanguage(LanguageIndex language);
  // The designed size, or the layout's least size where the font or the language needs more;
  // no larger than the screen has room for, and on the screen.
  void FitToLayout();

  // Handlers (main_window_handlers.cpp).
  void Timer1Timer();
  void ComboBoxLanguageChange(int index);
  void ComboBoxInterFaceChange(int index);
  void ButtonInterFaceClick();
  void About1Click();
  void ButtonInitialClick();
  void ButtonSelfTestClick();
  void ButtonRestPrinterClick();
  void ButtonIgnoreAutoClick();
  // The printer utilities (main_window_utilities.cpp).
  void ButtonEthernetClick();
  void SendEthernetSettings(NetSettings request);
  void ButtonRTCSetTimeClick();
  // Opens the clock dialog on `shown` and sets the printer's clock when the user says so.
  void EditClock(const ClockSettings& shown, ClockSource source);
  void ButtonSensorCalibrateClick();
  void ButtonDumpClick();
  void LoadDumpFile();
  void SaveDumpFile(std::vector<std::uint8_t> bytes);
  void ButtonTestPaternClick();

  SerialSettings serial_;
  ParallelPortName parallel_;
  NetworkTarget network_;
  DatagramTargets datagrams_;
  std::function<bool(const QString& url)> open_url_;
  NetSettings net_settings_;
  ClockSettings clock_;
  LanguageIndex language_ = kEnglish;
  // Of printer texts, from the locale; the tabs and dialogs take it from here.
  const AnsiCodePage code_page_;
  QString start_directory_;
  // The font dialog's font: "Font View" changes it, the next "Select Font" starts from it.
  QFont font_dialog_font_;
  SerialDeviceRoots serial_devices_;

  std::unique_ptr<Prompts> own_prompts_;
  Prompts* prompts_;
  ProgressWindow progress_window_;
  LinkLayer link_;
  OperationRunner runner_;

  QComboBox* ComboBoxLanguage = nullptr;
  QComboBox* ComboBoxInterFace = nullptr;
  QTabWidget* PageControl1 = nullptr;
  ConfigurationTab* config_tab_ = nullptr;
  std::array<QLabel*, 4> status_panels_{};
  BusyPanel* busy_panel_ = nullptr;
  // The close box was pressed while busy: the window closes once the cancelled work has ended.
  bool close_requested_ = false;
  QTimer Timer1;
};

}  // namespace vantrel::app
