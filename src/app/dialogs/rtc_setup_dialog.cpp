#include "app/dialogs/rtc_setup_dialog.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/guard.h"
#include "app/widgets/controls.h"
#include "app/widgets/language.h"
#include "app/widgets/number_text.h"

namespace vantrel::app {
namespace {

constexpr LocalizedEntry kRtcSetupTexts[] = {
    {"LabelYear", kCaption, {{"Year", "年", "年"}}},
    {"LabelMonth", kCaption, {{"Month", "月", "月"}}},
    {"LabelDate", kCaption, {{"Date", "日", "日"}}},
    {"LabelHour", kCaption, {{"Hour", "時", "时"}}},
    {"LabelMinute", kCaption, {{"Minute", "分", "分"}}},
    {"LabelSecond", kCaption, {{"Second", "秒", "秒"}}},
    {"ButtonSetSysTime", kCaption, {{"Get System Time", "取得系統時間", "获取系统时间"}}},
    {"ButtonSet", kCaption, {{"Set", "設定", "设置"}}},
    {"ButtonCancel", kCaption, {{"Cancel", "取消", "取消"}}},
    {"LabelComputerTime",
     kCaption,
     {{"This computer's time: the printer's clock cannot be read over LPT",
       "本電腦的時間：LPT 無法讀取印表機的時鐘", "本电脑的时间：LPT 无法读取打印机的时钟"}}},
};

struct ClockRow {
  const char* label;
  const char* edit;
  int max_length;
  std::int32_t ClockSettings::*field;
};

// In the order "Set" converts them.
constexpr std::array<ClockRow, 6> kRows = {{
    {"LabelYear", "EditYear", 4, &ClockSettings::Year},
    {"LabelMonth", "EditMonth", 3, &ClockSettings::Month},
    {"LabelDate", "EditDate", 3, &ClockSettings::Day},
    {"LabelHour", "EditHour", 3, &ClockSettings::Hour},
    {"LabelMinute", "EditMinute", 3, &ClockSettings::Minute},
    {"LabelSecond", "EditSecond", 3, &ClockSettings::Second},
}};

}  // namespace

std::span<const LocalizedEntry> RtcSetupTexts() {
  return kRtcSetupTexts;
}

TFormRTCSetup::TFormRTCSetup(ClockSettings& clock, ClockSource source, LanguageIndex language,
                             QPoint top_left, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      clock_(clock),
      prompts_(prompts) {
  setObjectName("TFormRTCSetup");
  setWindowTitle("RTC Setup");
  move(top_left);
  clock_.Confirmed = 0;
  auto* grid = new QGridLayout(this);
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const int row = static_cast<int>(i);
    grid->addWidget(NewLabel(this, kRows[i].label), row, 0);
    edits_[i] = NewEdit(this, kRows[i].edit, kRows[i].max_length, 7);
    grid->addWidget(edits_[i], row, 1);
  }
  const std::array<std::pair<const char*, void (TFormRTCSetup::*)()>, 3> buttons = {{
      {"ButtonSetSysTime", &TFormRTCSetup::ButtonSetSysTimeClick},
      {"ButtonSet", &TFormRTCSetup::ButtonSetClick},
      {"ButtonCancel", &TFormRTCSetup::reject},
  }};
  int row = 0;
  for (const auto& [name, handler] : buttons) {
    QPushButton* button = NewButton(this, name);
    grid->addWidget(button, row++, 2);
    connect(button, &QPushButton::clicked, this, Guarded(prompts_, this, handler));
  }
  // Values that did not come from the printer say where they came from.
  QLabel* source_label = NewLabel(this, "LabelComputerTime");
  source_label->setVisible(source == ClockSource::kComputer);
  grid->addWidget(source_label, static_cast<int>(kRows.size()), 0, 1, 3);
  ShowClock(clock_);
  ApplyLocalizedTexts(*this, RtcSetupTexts(), language);
  setFixedSize(sizeHint());
}

void TFormRTCSetup::reject() {
  clock_.Confirmed = 0;
  QDialog::reject();
}

void TFormRTCSetup::ShowClock(const ClockSettings& clock) {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    edits_[i]->setText(QString::number(clock.*kRows[i].field));
  }
}

ClockSettings SystemClock(const QDateTime& now) {
  ClockSettings clock;
  clock.Year = now.date().year();
  clock.Month = now.date().month();
  clock.Day = now.date().day();
  clock.Hour = now.time().hour();
  clock.Minute = now.time().minute();
  clock.Second = now.time().second();
  return clock;
}

void TFormRTCSetup::ButtonSetSysTimeClick() {
  const ClockSettings now = SystemClock(QDateTime::currentDateTime());
  for (const ClockRow& row : kRows) clock_.*row.field = now.*row.field;
  ShowClock(clock_);
}

void TFormRTCSetup::ButtonSetClick() {
  clock_.Confirmed = 1;
  // A field that is no whole number throws, and the dialog stays open on what was typed.
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    clock_.*kRows[i].field =
        InField(FieldCaption(RtcSetupTexts(), kRows[i].label), "a whole number",
                [&] { return IntegerFromText(edits_[i]->text()); });
  }
  if (const std::string refusal = ClockRefusal(clock_); !refusal.empty()) {
    prompts_.Message(QString::fromStdString(refusal));
    return;
  }
  accept();
}

}  // namespace vantrel::app
