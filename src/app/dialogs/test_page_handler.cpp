// "Print Test Page": a label sized from the configuration tab, printed by operation 14.
#include "app/main_window.h"
#include "app/tabs/config_bindings.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonTestPaternClick() {
  if (!config_.Dpi.set()) {
    prompts_->Message("Please read printer config first");
    return;
  }
  // The label as the tab shows it now, edits not yet written to the printer included.
  PrinterConfig working = config_;
  CollectConfig(*this, working, unit());
  if (!working.PaperWidth.set() || !working.PaperHeight.set()) {
    prompts_->Message("Please Entry Paper Width");
    return;
  }
  auto request = std::make_shared<TestPageRequest>(
      TestPageRequest{config_.DotsPerMm, working.PaperWidth.value, working.PaperHeight.value});
  if (const std::string refusal = TestPageRefusal(*request); !refusal.empty()) {
    prompts_->Message(QString::fromStdString(refusal));
    return;
  }
  RunOperation(kOpPrintTestPage, request.get(), 0, [request] {});
}

}  // namespace vantrel::app
