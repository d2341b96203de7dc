#include "cli/common/context.h"

#include <iostream>

#include "cli/common/report.h"
#include "ops/config_report_steps.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {

CliContext::CliContext() {
  link_.progress().SetView(progress_bar_.enabled() ? &progress_bar_ : nullptr);
  // A terminal bar needs no pause to be seen.
  link_.progress().SetEndDelay(std::chrono::milliseconds(0));
}

std::string CliContext::PrepareLink() {
  std::string refusal = ToLinkSettings(link_options_, records_);
  if (refusal.empty())
    link_.BindLinkSettings(&records_.serial, &records_.parallel, &records_.network);
  return refusal;
}

void CliContext::SetReadWait(int wait_ms) {
  if (wait_ms <= 0) return;
  LinkWaits waits = link_.waits();
  waits.usb_read = waits.com_read = waits.net_read = std::chrono::milliseconds(wait_ms);
  link_.SetWaits(waits);
}

int CliContext::Run(int op, OperationRecord record, int extra) {
  return Report(RunPrinterOperation(link_, op, records_.interface, record, extra));
}

int CliContext::ReadBack(ConfigPage page, const PrinterConfig& before, PrinterConfig& config) {
  ResetConfig(config);
  return Report(RunPageReadBack(link_, records_.interface, page, ToleratedAnswers(before), config));
}

int Refuse(const std::string& why) {
  std::cerr << why << '\n';
  return kExitRefused;
}

}  // namespace vantrel::cli
