#include <QDateTime>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/lpt_setup_dialog.h"
#include "app/dialogs/net_setup_dialog.h"
#include "app/dialogs/rs232_setup_dialog.h"
#include "app/main_window.h"
#include "app/widgets/status_bar_formats.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

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
  config_tab_->EnableReading(index != kInterfaceLpt);
  RefreshStatusBar();
}

void TFormMain::ButtonInterFaceClick() {
  const int interface = ComboBoxInterFace->currentIndex();
  if (interface == kInterfaceCom) {
    TFormRs232Setup dialog(serial_, language_, ListSerialPorts(serial_devices_), *prompts_, this);
    prompts_->RunDialog(dialog);
  } else if (interface == kInterfaceLpt) {
    TFormLPTSetup dialog(parallel_, language_, *prompts_, this);
    prompts_->RunDialog(dialog);
  } else if (interface == kInterfaceEthernet) {
    TFormNetSetup dialog(network_, {prompts_, language_, datagrams_, open_url_, code_page_}, this);
    prompts_->RunDialog(dialog);
  }
  RefreshStatusBar();
}

void TFormMain::About1Click() {
  TFormAbout dialog(this);
  prompts_->RunDialog(dialog);
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

}  // namespace vantrel::app
