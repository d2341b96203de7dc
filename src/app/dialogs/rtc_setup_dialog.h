#pragma once

#include <QDateTime>
#include <QDialog>
#include <QLineEdit>
#include <QPoint>
#include <array>
#include <span>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "ops/clock_operations.h"

namespace vantrel::app {

// The clock dialog's table (10 entries); its window caption is not localized.
std::span<const LocalizedEntry> RtcSetupTexts();

// The six values of a local date and time, the year in full; not confirmed.
ClockSettings SystemClock(const QDateTime& now);

// Where the values the dialog opens on came from.
enum class ClockSource { kPrinter, kComputer };

// "RTC Setup": shows the clock values it is given; "Get System Time" fills the record and the
// edits from the computer's clock. "Set" converts the edits into the record and closes once
// they are a real date and time; otherwise it says why and stays open. Leaving it any other
// way sets Confirmed to 0. Opened on the computer's clock, it says so.
class TFormRTCSetup : public QDialog {
  Q_OBJECT

 public:
  TFormRTCSetup(ClockSettings& clock, ClockSource source, LanguageIndex language, QPoint top_left,
                Prompts& prompts, QWidget* parent = nullptr);

  void reject() override;

 private:
  void ShowClock(const ClockSettings& clock);
  void ButtonSetSysTimeClick();
  void ButtonSetClick();

  ClockSettings& clock_;
  Prompts& prompts_;
  std::array<QLineEdit*, 6> edits_{};
};

}  // namespace vantrel::app
