#include "app/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>

#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/guard.h"
#include "app/tabs/command_tool_tab.h"
#include "app/widgets/failure_detail.h"
#include "app/widgets/language.h"
#include "app/widgets/operation_texts.h"
#include "app/widgets/screen_room.h"
#include "app/widgets/status_bar_formats.h"
#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

constexpr const char* kCancelledMessage = "The operation was cancelled";
constexpr const char* kCloseWhileBusyQuestion =
    "An operation is running. Cancel it and close the window?";

std::string LocaleOrSystem(const std::string& locale_name) {
  return locale_name.empty() ? QLocale::system().name().toStdString() : locale_name;
}

}  // namespace

TFormMain::TFormMain(MainWindowOptions options)
    : network_(options.network),
      datagrams_(options.datagrams),
      open_url_(options.open_url),
      net_settings_(InitialEthernetSettings()),
      code_page_(AnsiCodePageForLocale(LocaleOrSystem(options.locale_name))),
      serial_devices_(options.serial_devices),
      own_prompts_(options.prompts == nullptr ? std::make_unique<DialogPrompts>(this) : nullptr),
      prompts_(options.prompts != nullptr ? options.prompts : own_prompts_.get()),
      link_(options.opener),
      Timer1(this) {
  BuildLayout();
  busy_panel_ = new BusyPanel([this] { link_.Cancel(); }, statusBar());
  statusBar()->addWidget(busy_panel_, 1);
  if (options.demo) setWindowTitle(windowTitle() + " (demo)");
  start_directory_ = QDir::currentPath();
  move(60, 60);
  PageControl1->setCurrentIndex(0);
  link_.BindLinkSettings(&serial_, &parallel_, &network_);
  link_.SetWaits(options.waits);
  link_.progress().SetView(&progress_window_);
  link_.progress().SetEndDelay(options.progress_end_delay);
  RefreshStatusBar();
  Timer1Timer();  // the clock shows at once, so that the window's first measure counts it
  PlaceProgressWindow();
  DetectLanguage(LocaleOrSystem(options.locale_name));
  ComboBoxInterFace->setCurrentIndex(options.interface);
  ConnectHandlers();
  ComboBoxInterFaceChange(options.interface);
  Timer1.setObjectName("Timer1");
  Timer1.start(1000);
}

TFormMain::~TFormMain() = default;

void TFormMain::StartUp() {
  // Only the default USB probe may find no printer silently: a printer the user named says why
  // it cannot be reached.
  const bool named = ComboBoxInterFace->currentIndex() != kInterfaceUsb;
  RunOperation(
      kOpProbeLink, std::monostate{}, 0, [this] { config_tab_->ReadConfiguration(0); },
      named ? OnFailure::kShowMessage : OnFailure::kStaySilent);
}

void TFormMain::RunOperation(int op, OperationRecord record, int extra,
                             std::function<void()> on_success, OnFailure on_failure) {
  StartWork(
      OperationTexts(op, record, extra, language_),
      [op, record, extra](LinkLayer& link, InterfaceKind interface) {
        return RunPrinterOperation(link, op, interface, record, extra);
      },
      [on_success = std::move(on_success)] {
        if (on_success) on_success();
        return true;
      },
      on_failure);
}

void TFormMain::StartOperation(int op, OperationRecord record, int extra,
                               std::function<void()> on_success, std::function<void()> afterwards) {
  if (afterwards) {
    connect(this, &TFormMain::OperationFinished, this, std::move(afterwards),
            Qt::SingleShotConnection);
  }
  RunOperation(op, record, extra, std::move(on_success));
}

void TFormMain::StartLinkWork(WorkTexts texts, LinkWork work, std::function<bool()> on_success) {
  StartWork(
      std::move(texts),
      [work = std::move(work)](LinkLayer& link, InterfaceKind interface) {
        link.ForgetFailure();
        return link.TakeFailure(work(link, interface));
      },
      std::move(on_success), OnFailure::kShowMessage);
}

void TFormMain::StartWork(WorkTexts texts,
                          std::function<LinkFailure(LinkLayer&, InterfaceKind)> work,
                          std::function<bool()> on_success, OnFailure on_failure) {
  // The disabled window keeps a second operation from starting; this is the backstop.
  const int index = ComboBoxInterFace->currentIndex();
  if (busy() || !IsValidInterface(index)) return;
  ShowBusy(texts);
  link_.ResetCancel();
  PlaceProgressWindow();
  const auto interface = static_cast<InterfaceKind>(index);
  runner_.Start([this, work = std::move(work), interface] { return work(link_, interface); },
                [this, texts = std::move(texts), on_success = std::move(on_success), on_failure](
                    const LinkFailure& failure, std::exception_ptr error) {
                  FinishOperation(texts, failure, error, on_success, on_failure);
                });
}

void TFormMain::ShowBusy(const WorkTexts& texts) {
  centralWidget()->setEnabled(false);
  menuBar()->setEnabled(false);
  for (QLabel* panel : status_panels_) panel->hide();
  busy_panel_->Start(texts.what, texts.on_printer ? LinkTarget() : QString(), language_);
}

QString TFormMain::LinkTarget() const {
  return LinkTargetText(ComboBoxInterFace->currentIndex(), network_, serial_, parallel_);
}

void TFormMain::EndBusy() {
  busy_panel_->Stop();
  for (QLabel* panel : status_panels_) panel->show();
  centralWidget()->setEnabled(true);
  menuBar()->setEnabled(true);
}

void TFormMain::PlaceProgressWindow() {
  const QPoint origin = DialogOrigin(*this);
  link_.progress().SetProgressOrigin(origin.x(), origin.y());
}

void TFormMain::FinishOperation(const WorkTexts& texts, const LinkFailure& failure,
                                const std::exception_ptr& error,
                                const std::function<bool()>& on_success, OnFailure on_failure) {
  // Enabled before any message, so the box is not born disabled with its owner.
  EndBusy();
  RefreshStatusBar();
  if (close_requested_) {
    emit OperationFinished();
    close();
    return;
  }
  raise();
  activateWindow();
  Guard(*prompts_, [&] {
    if (error) std::rethrow_exception(error);
    // Whatever failed after the cancel is its consequence, and nothing follows it.
    if (link_.Cancelled()) {
      prompts_->Message(kCancelledMessage, texts.cancelled);
    } else if (!failure.ok()) {
      if (on_failure == OnFailure::kShowMessage) ShowResult(failure);
    } else if (on_success() && !texts.done.isEmpty()) {
      status_panels_[2]->setText(texts.done.arg(LinkTarget()));
    }
  });
  emit OperationFinished();
}

void TFormMain::ShowResult(const LinkFailure& failure) {
  const std::string_view message = ResultMessage(failure.code);
  prompts_->Message(QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())),
                    FailureDetail(failure, LinkTarget(), language_));
}

void TFormMain::RefreshStatusBar() {
  status_panels_[0]->setText(QString::fromStdString(parallel_.name));
  status_panels_[1]->setText(SerialSummary(serial_));
  status_panels_[2]->setText(
      LinkTargetText(ComboBoxInterFace->currentIndex(), network_, serial_, parallel_));
}

void TFormMain::DetectLanguage(const std::string& locale_name) {
  language_ = LanguageForLocale(locale_name);
  ComboBoxLanguage->setCurrentIndex(language_);
  ApplyLanguage(language_);
}

void TFormMain::ApplyLanguage(LanguageIndex language) {
  UseQtTranslations(language);
  ApplyLocalizedTexts(*this, MainWindowTexts(), language);
  ApplyLocalizedTexts(*this, CommandToolTexts(), language);
  config_tab_->RefreshUnitCaptions();
  FitToLayout();
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Until the window is first shown its layouts do not count all of its controls.
  FitToLayout();
}

void TFormMain::FitToLayout() {
  // The client area is fixed at its designed size, unless the desktop font or the language's
  // captions need more (GNOME's and KDE's 10 and 11 points): then the layout's least size.
  // The menu bar above it follows its caption's font. Captions on hidden pages do not tell
  // their layouts that they changed, so every layout measures afresh; and a layout keeps the
  // sizes of the groups and pages in it, measured in the last language, until they update.
  for (QLayout* layout : findChildren<QLayout*>()) {
    layout->invalidate();
    layout->parentWidget()->updateGeometry();
  }
  const int menu = menuBar()->sizeHint().height();
  const QSize content = centralWidget()->sizeHint();
  const QSize least(std::max(content.width(), statusBar()->minimumSizeHint().width()),
                    menu + content.height() + statusBar()->sizeHint().height());
  QSize wanted = QSize(kClientWidth, kClientHeight + menu).expandedTo(least);
  // A screen too small for it (1366 x 768 at 1.25 scale) gets the window it has room for, and
  // the content scrolls: room is made beside it for the scroll bar.
  const QSize room = ClientRoom(*this);
  if (wanted.height() > room.height()) {
    wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  }
  setFixedSize(wanted.boundedTo(room));
  KeepOnScreen(*this);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  // The operation's thread uses this window's link layer until it ends: it is cancelled, and the
  // window closes once it has ended. The question may outlast the operation.
  if (busy() && !prompts_->Question(kCloseWhileBusyQuestion)) {
    event->ignore();
  } else if (busy()) {
    close_requested_ = true;
    link_.Cancel();
    event->ignore();
  } else {
    QMainWindow::closeEvent(event);
  }
}

}  // namespace vantrel::app
