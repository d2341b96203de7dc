#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/lpt_setup_dialog.h"
#include "app/dialogs/net_setup_dialog.h"
#include "app/dialogs/rs232_setup_dialog.h"
#include "app/main_window.h"
#include "app/tabs/config_bindings.h"
#include "app/widgets/number_text.h"
#include "app/widgets/status_bar_formats.h"
#include "config/config_file.h"
#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

const QString kConfigFilter = QStringLiteral("*.dcf");
const QString kConfigSuffix = QStringLiteral("dcf");

// A name typed without an extension gets the configuration files' one.
QString WithDefaultSuffix(const QString& path) {
  return QFileInfo(path).suffix().isEmpty() ? path + "." + kConfigSuffix : path;
}

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TFormMain::Timer1Timer() {
  status_panels_[3]->setText(ClockText(QDateTime::currentDateTime()));
}

void TFormMain::ComboBoxLanguageChange(int index) {
  language_ = ToLanguageIndex(index);
  ApplyLanguage(language_);
}

void TFormMain::ComboBoxInterFaceChange(int index) {
  // The parallel link cannot answer, and a USB printer needs no settings.
  findChild<QPushButton*>("ButtonInterFace")->setEnabled(index != kInterfaceUsb);
  findChild<QPushButton*>("ButtonGetStatus")->setEnabled(index != kInterfaceLpt);
  findChild<QPushButton*>("ButtonRead")->setEnabled(index != kInterfaceLpt);
  RefreshStatusBar();
}

void TFormMain::ButtonInterFaceClick() {
  interface_index_ = ComboBoxInterFace->currentIndex();
  if (interface_index_ == kInterfaceCom) {
    TFormRs232Setup dialog(serial_, language_, ListSerialPorts(serial_devices_), this);
    prompts_->RunDialog(dialog);
  } else if (interface_index_ == kInterfaceLpt) {
    TFormLPTSetup dialog(parallel_, language_, this);
    prompts_->RunDialog(dialog);
  } else if (interface_index_ == kInterfaceEthernet) {
    TFormNetSetup dialog(network_, {prompts_, language_, datagrams_, open_url_, code_page_}, this);
    prompts_->RunDialog(dialog);
  }
  RefreshStatusBar();
}

void TFormMain::About1Click() {
  TFormAbout dialog(this);
  prompts_->RunDialog(dialog);
}

void TFormMain::ButtonGetStatusClick() {
  // The labels and the record change only when the whole query succeeds.
  auto flags = std::make_shared<StatusFlags>();
  RunOperation(kOpQueryStatus, flags.get(), 0, [this, flags] { SetStatus(*flags); });
}

void TFormMain::ButtonInitialClick() {
  RunOperation(kOpFactoryDefault, std::monostate{}, 0, {});
}

void TFormMain::ButtonSelfTestClick() {
  RunOperation(kOpPrintConfigurationPage, std::monostate{}, 0, {});
}

void TFormMain::ButtonRestPrinterClick() {
  RunOperation(kOpResetPrinter, std::monostate{}, 0, {});
}

void TFormMain::ButtonIgnoreAutoClick() {
  RunOperation(kOpIgnoreAutoBas, std::monostate{}, 0, {});
}

void TFormMain::ButtonReadClick() {
  constexpr int kWithProgressWindow = 1;
  ReadConfiguration(kWithProgressWindow);
}

void TFormMain::ReadConfiguration(int extra) {
  auto record = std::make_shared<PrinterConfig>();
  ResetConfig(*record);
  RunOperation(kOpReadConfiguration, record.get(), extra,
               [this, record] { SetCurrentConfig(*record); });
}

void TFormMain::ButtonConfigSetClick() {
  // Set writes a copy: the current record stays as it was, whatever happens.
  auto copy = std::make_shared<PrinterConfig>(config_);
  CollectConfig(*this, *copy, unit());
  RunOperation(kOpWriteConfiguration, copy.get(), PageControl2->currentIndex(), [copy] {});
}

void TFormMain::ButtonClearClick() {
  PrinterConfig cleared;
  ResetConfig(cleared);
  SetCurrentConfig(cleared);
}

void TFormMain::RadioGroupUnitClick() {
  const LengthUnit to = unit();
  try {
    ConvertShownLengths(*this, config_, shown_unit_, to);
  } catch (const ConversionError&) {
    // The lengths stay as typed, in the unit they were typed in.
    RadioGroupUnit->SetItemIndex(shown_unit_);
    throw;
  }
  shown_unit_ = to;
  RefreshUnitCaptions();
}

void TFormMain::ButtonSaveClick() {
  const std::optional<QString> path = prompts_->SaveFile(kConfigFilter, kConfigSuffix);
  if (!path) return;
  // Collected into a copy first, so a value that is no number leaves the record untouched.
  PrinterConfig collected = config_;
  CollectConfig(*this, collected, unit());
  SetCurrentConfig(collected);
  const ConfigFileResult result =
      SaveConfigFile(ToPath(WithDefaultSuffix(*path)), {unit(), config_, status_});
  if (!result.ok()) {
    prompts_->Message(ToQString(ConfigFileMessage(result.code)), ToQString(result.detail));
  }
}

void TFormMain::ButtonLoadClick() {
  const std::optional<QString> path = prompts_->OpenFile(kConfigFilter);
  if (!path) return;
  ConfigFileContents contents;
  const ConfigFileResult result = LoadConfigFile(ToPath(*path), contents);
  if (!result.ok()) {
    prompts_->Message(ToQString(ConfigFileMessage(result.code)), ToQString(result.detail));
    return;
  }
  RadioGroupUnit->SetItemIndex(contents.unit == kUnitMm ? kUnitMm : kUnitInch);
  RefreshUnitCaptions();
  SetStatus(contents.status);
  SetCurrentConfig(contents.config);
}

}  // namespace vantrel::app
