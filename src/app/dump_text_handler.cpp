// "Dump Text": the dialog chooses where the dump goes, operation 4 starts it.
#include "app/dump_text_setup_dialog.h"
#include "app/main_window.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonDumpClick() {
  auto request = std::make_shared<DumpRequest>();
  TFormDumpTextSetup dialog(*request, DialogOrigin(), *prompts_, this);
  prompts_->RunDialog(dialog);
  if (request->Confirmed == 0) return;
  RunOperation(kOpDumpText, request.get(), 0, [request] {});
}

}  // namespace vantrel::app
