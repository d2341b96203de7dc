// The utilities of the "Printer Function" group: each opens its dialog, then runs what the user
// asked for.
#include <QDateTime>

#include "app/dialogs/dump_text_setup_dialog.h"
#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/dialogs/rtc_setup_dialog.h"
#include "app/dialogs/sensor_calibrate_dialog.h"
#include "app/main_window.h"
#include "app/widgets/host_path.h"
#include "app/widgets/screen_room.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

// "Ethernet Setup": read the printer's network settings (operation 18), let the user edit
// them, then set either the addresses (16) or the name (17) over the same link.
void TFormMain::ButtonEthernetClick() {
  auto read = std::make_shared<NetSettings>();
  RunOperation(kOpReadNetworkSettings, read.get(), 0, [this, read] {
    net_settings_.AddressMode = read->AddressMode;
    net_settings_.IpAddress = read->IpAddress;
    net_settings_.SubnetMask = read->SubnetMask;
    net_settings_.Gateway = read->Gateway;
    net_settings_.LastUsedIp = read->LastUsedIp;
    net_settings_.PrinterName = read->PrinterName;
    net_settings_.MacText = read->MacText;
    // "NET NAME" quotes the name: the dialog refuses what would end the quotes early.
    EthernetSetupEnvironment environment{
        prompts_, language_, code_page_,
        [](std::string_view name) { return FieldTextRefusal("The printer name", name); }};
    TFormEthernetSetup dialog(net_settings_, std::move(environment), DialogOrigin(*this), this);
    prompts_->RunDialog(dialog);
    if (net_settings_.Confirmed == 0) return;
    SendEthernetSettings(*read);
  });
}

// One pass sets either the addresses or the name, never both.
void TFormMain::SendEthernetSettings(NetSettings request) {
  request.AddressMode = net_settings_.AddressMode;
  request.IpAddress = net_settings_.IpAddress;
  request.SubnetMask = net_settings_.SubnetMask;
  request.Gateway = net_settings_.Gateway;
  request.PrinterName = net_settings_.PrinterName;
  const bool name = net_settings_.SetKind != 0;
  auto record = std::make_shared<NetSettings>(std::move(request));
  RunOperation(name ? kOpSetNetworkName : kOpSetNetworkAddress, record.get(), 0, KeepAlive(record));
}

// "RTC Setup": read the printer's clock (operation 7), let the user edit it, set it (6).
void TFormMain::ButtonRTCSetTimeClick() {
  // The parallel port cannot answer: the dialog opens on the computer's clock, to be set from
  // there. Elsewhere it opens only on a clock that was read whole; a failed read is shown.
  if (ComboBoxInterFace->currentIndex() == kInterfaceLpt) {
    EditClock(SystemClock(QDateTime::currentDateTime()), ClockSource::kComputer);
    return;
  }
  auto read = std::make_shared<ClockSettings>();
  RunOperation(kOpReadClock, read.get(), 0,
               [this, read] { EditClock(*read, ClockSource::kPrinter); });
}

void TFormMain::EditClock(const ClockSettings& shown, ClockSource source) {
  clock_ = shown;
  TFormRTCSetup dialog(clock_, source, language_, DialogOrigin(*this), *prompts_, this);
  prompts_->RunDialog(dialog);
  if (clock_.Confirmed == 0) return;
  auto record = std::make_shared<ClockSettings>(clock_);
  RunOperation(kOpSetClock, record.get(), 0, KeepAlive(record));
}

// "Calibrate Sensor": the dialog fills a calibration request, operation 8 sends it.
void TFormMain::ButtonSensorCalibrateClick() {
  auto request = std::make_shared<CalibrationRequest>();
  // Lengths are typed in the unit the configuration shows, counted in the printer's dots.
  const PrinterConfig& config = config_tab_->config();
  request->DotsPerUnit =
      DotsPerUnitOf(config_tab_->unit() == kUnitMm ? config.DotsPerMm : config.Dpi.value);
  TFormSensorCalibrate dialog(*request, language_, DialogOrigin(*this), *prompts_, this);
  prompts_->RunDialog(dialog);
  if (request->Confirmed == 0) return;
  RunOperation(kOpCalibrateSensor, request.get(), 0, KeepAlive(request));
}

// "Dump Text": the dialog chooses where the dump goes and operation 4 starts it. A dump saved in
// the printer is then loaded back (operation 20) and saved where the user chooses.
void TFormMain::ButtonDumpClick() {
  auto request = std::make_shared<DumpRequest>();
  TFormDumpTextSetup dialog(*request, DialogOrigin(*this), code_page_, *prompts_, this);
  prompts_->RunDialog(dialog);
  if (request->Confirmed == 0) return;
  RunOperation(kOpDumpText, request.get(), 0, [this, request] {
    if (request->Mode == kDumpToFile) LoadDumpFile();
  });
}

// The question is the printer's time to write the file before it is asked for it.
void TFormMain::LoadDumpFile() {
  if (!prompts_->Confirm("Press OK to load file.")) return;
  auto load = std::make_shared<LoadRequest>(DumpFileLoadRequest());
  RunOperation(kOpLoadFile, load.get(), 0,
               [this, load] { SaveDumpFile(std::move(load->received)); });
}

void TFormMain::SaveDumpFile(std::vector<std::uint8_t> bytes) {
  const bool cut = CutToDumpLimit(bytes);
  const std::optional<QString> path = prompts_->SaveFile("*.*", QString());
  if (!path) return;
  const HostFileResult saved = ReplaceHostFile(HostPath(*path), bytes);
  if (!saved.ok()) {
    prompts_->Message(QString::fromLatin1(ResultMessage(kResultFileOpenError).data()),
                      QString::fromStdString(saved.detail));
  } else if (cut) {
    prompts_->Message(QStringLiteral("The dump was longer than %1 bytes: only the first %1 "
                                     "were saved")
                          .arg(kDumpFileLimit));
  }
}

// "Print Test Page": a label sized from the configuration tab, printed by operation 14.
void TFormMain::ButtonTestPaternClick() {
  const PrinterConfig& config = config_tab_->config();
  if (!config.Dpi.set()) {
    prompts_->Message("Please read printer config first");
    return;
  }
  // The label as the tab shows it now, edits not yet written to the printer included.
  const PrinterConfig working = config_tab_->WorkingConfig();
  if (!working.PaperWidth.set() || !working.PaperHeight.set()) {
    prompts_->Message("Please Entry Paper Width");
    return;
  }
  auto request = std::make_shared<TestPageRequest>(
      TestPageRequest{config.DotsPerMm, working.PaperWidth.value, working.PaperHeight.value});
  if (const std::string refusal = TestPageRefusal(*request); !refusal.empty()) {
    prompts_->Message(QString::fromStdString(refusal));
    return;
  }
  RunOperation(kOpPrintTestPage, request.get(), 0, KeepAlive(request));
}

}  // namespace vantrel::app
