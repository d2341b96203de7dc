// "RTC Setup": read the printer's clock (operation 7), let the user edit it, set it (6).
#include "app/dialogs/rtc_setup_dialog.h"
#include "app/main_window.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonRTCSetTimeClick() {
  auto read = std::make_shared<ClockSettings>();
  // A printer that cannot answer (the parallel port never can) still has its clock set: the
  // dialog opens with what was read before the failure and zeros after it.
  RunOperation(
      kOpReadClock, read.get(), 0,
      [this, read] {
        clock_ = *read;
        TFormRTCSetup dialog(clock_, language_, DialogOrigin(), *prompts_, this);
        prompts_->RunDialog(dialog);
        if (clock_.Confirmed == 0) return;
        auto record = std::make_shared<ClockSettings>(clock_);
        RunOperation(kOpSetClock, record.get(), 0, [record] {});
      },
      OnFailure::kCarryOn);
}

}  // namespace vantrel::app
