// "RTC Setup": read the printer's clock (operation 7), let the user edit it, set it (6).
#include <QDateTime>

#include "app/dialogs/rtc_setup_dialog.h"
#include "app/main_window.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

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
  TFormRTCSetup dialog(clock_, source, language_, DialogOrigin(), *prompts_, this);
  prompts_->RunDialog(dialog);
  if (clock_.Confirmed == 0) return;
  auto record = std::make_shared<ClockSettings>(clock_);
  RunOperation(kOpSetClock, record.get(), 0, [record] {});
}

}  // namespace vantrel::app
