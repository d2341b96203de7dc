#include "app/dialogs/sensor_calibrate_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/guard.h"
#include "app/widgets/controls.h"
#include "app/widgets/language.h"
#include "app/widgets/number_text.h"

namespace vantrel::app {
namespace {

// A unit of more dots than this is an inch, any other a millimetre.
constexpr std::int32_t kMostDotsPerMm = 100;
constexpr std::size_t kInchText = 3;
constexpr std::size_t kMmText = 4;

constexpr LocalizedEntry kSensorCalibrateTexts[] = {
    {"GroupBoxAutoCali", kCaption, {{"Auto Calibration", "自動校正", "自动校准"}}},
    {"LabelHeight", kCaption, {{"Paper Height", "紙張高度", "纸张高度"}}},
    {"LabelGap", kCaption, {{"Gap", "間距", "间距"}}},
    // The two unit captions; which one shows follows the dots per unit.
    {"", kCaption, {{"inch", "英吋", "英寸"}}},
    {"", kCaption, {{"mm", "公厘", "毫米"}}},
    {"ButtonCalib", kCaption, {{"Calibrate", "校正", "校准"}}},
    {"GroupBoxManualCalib", kCaption, {{"Mamual Calibration", "手動校正", "手动校准"}}},
    {"LabelReference", kCaption, {{"Sensor Reference", "感應器參考值", "传感器参考值"}}},
    {"LabelInten", kCaption, {{"Sensor intension", "感應器強度", "传感器强度"}}},
    {"ButtonSet", kCaption, {{"Set", "設定", "设置"}}},
    {"RadioGroupMediaType", kCaption, {{"Media Type", "紙張類型", "纸张类型"}}},
    {"RadioGroupMediaType", 0, {{"GAP", "間距", "间距"}}},
    {"RadioGroupMediaType", 1, {{"Black Mark", "黑標", "黑标"}}},
    {"RadioGroupMediaType", 2, {{"Contiuous", "連續紙", "连续纸"}}},
    {"ButtonCancel", kCaption, {{"Cancel", "取消", "取消"}}},
};

QString Text(std::size_t entry, LanguageIndex language) {
  const std::string_view text = kSensorCalibrateTexts[entry].text.In(language);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::span<const LocalizedEntry> SensorCalibrateTexts() {
  return kSensorCalibrateTexts;
}

TFormSensorCalibrate::TFormSensorCalibrate(CalibrationRequest& request, LanguageIndex language,
                                           QPoint top_left, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint),
      request_(request),
      prompts_(prompts),
      RadioGroupMediaType(new RadioGroup("RadioGroupMediaType", "Media Type",
                                         {"GAP", "Black Mark", "Continuous"}, Qt::Vertical, this)) {
  setObjectName("TFormSensorCalibrate");
  setWindowTitle("Sensor Calibration");
  move(top_left);
  request_.Confirmed = 0;
  RadioGroupMediaType->SetItemIndex(kMediaGap);
  auto* grid = new QGridLayout(this);
  grid->addWidget(NewAutoGroup(), 0, 0);
  grid->addWidget(NewManualGroup(), 1, 0);
  grid->addWidget(RadioGroupMediaType, 0, 1, Qt::AlignTop);
  QPushButton* cancel = NewButton(this, "ButtonCancel");
  grid->addWidget(cancel, 1, 1, Qt::AlignBottom);
  connect(cancel, &QPushButton::clicked, this,
          Guarded(prompts_, this, &TFormSensorCalibrate::reject));
  ApplyLocalizedTexts(*this, SensorCalibrateTexts(), language);
  const QString unit = Text(request.DotsPerUnit > kMostDotsPerMm ? kInchText : kMmText, language);
  for (const char* name : {"LabelUnit1", "LabelUnit2"}) {
    findChild<QLabel*>(QLatin1String(name))->setText(unit);
  }
  setFixedSize(sizeHint());
}

QWidget* TFormSensorCalibrate::NewAutoGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxAutoCali", grid, 4);
  grid->addWidget(NewLabel(group, "LabelHeight"), 0, 0);
  EditHeight = NewEdit(group, "EditHeight", 0, 8);
  grid->addWidget(EditHeight, 0, 1);
  grid->addWidget(NewLabel(group, "LabelUnit1"), 0, 2);
  grid->addWidget(NewLabel(group, "LabelGap"), 1, 0);
  EditGap = NewEdit(group, "EditGap", 0, 8);
  grid->addWidget(EditGap, 1, 1);
  grid->addWidget(NewLabel(group, "LabelUnit2"), 1, 2);
  QPushButton* calibrate = NewButton(group, "ButtonCalib");
  grid->addWidget(calibrate, 2, 1, 1, 2);
  connect(calibrate, &QPushButton::clicked, this,
          Guarded(prompts_, this, &TFormSensorCalibrate::ButtonCalibClick));
  return group;
}

QWidget* TFormSensorCalibrate::NewManualGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxManualCalib", grid, 4);
  grid->addWidget(NewLabel(group, "LabelReference"), 0, 0);
  EditReference = NewEdit(group, "EditReference", 3, 8);
  EditReference->setText("512");
  grid->addWidget(EditReference, 0, 1);
  grid->addWidget(NewLabel(group, "LabelInten"), 1, 0);
  EditInten = NewEdit(group, "EditInten", 2, 8);
  EditInten->setText("2");
  grid->addWidget(EditInten, 1, 1);
  QPushButton* set = NewButton(group, "ButtonSet");
  grid->addWidget(set, 2, 1);
  connect(set, &QPushButton::clicked, this,
          Guarded(prompts_, this, &TFormSensorCalibrate::ButtonSetClick));
  return group;
}

void TFormSensorCalibrate::reject() {
  request_.Confirmed = 0;
  QDialog::reject();
}

// Empty means not given.
std::int32_t TFormSensorCalibrate::LengthOf(const QLineEdit& edit, const char* label) const {
  if (edit.text().isEmpty()) return 0;
  return InField(FieldCaption(SensorCalibrateTexts(), label), "a length", [&] {
    RealFromText(edit.text());  // the framework's message for a text that is no number
    const std::optional<std::int32_t> dots =
        LengthInDots(edit.text().trimmed().toStdString(), request_.DotsPerUnit);
    if (!dots) throw ConversionError("'" + edit.text().toStdString() + "' is too large a length");
    return *dots;
  });
}

std::int32_t TFormSensorCalibrate::IntegerOf(const QLineEdit& edit, const char* label) const {
  return InField(FieldCaption(SensorCalibrateTexts(), label), "a whole number",
                 [&] { return IntegerFromText(edit.text()); });
}

// The fields are stored one by one, so those before a bad one keep their new values; a bad one
// throws, and the dialog stays open.
void TFormSensorCalibrate::Finish(CalibrationKind kind, const std::function<void()>& convert) {
  request_.Confirmed = 1;
  request_.MediaType = RadioGroupMediaType->ItemIndex();
  convert();
  request_.Kind = kind;
  if (const std::string refusal = CalibrationRefusal(request_); !refusal.empty()) {
    prompts_.Message(QString::fromStdString(refusal));
    return;
  }
  accept();
}

void TFormSensorCalibrate::ButtonCalibClick() {
  Finish(kCalibrateAutomatic, [this] {
    request_.PaperHeight = LengthOf(*EditHeight, "LabelHeight");
    request_.GapHeight = LengthOf(*EditGap, "LabelGap");
  });
}

void TFormSensorCalibrate::ButtonSetClick() {
  Finish(kCalibrateManual, [this] {
    request_.Reference = IntegerOf(*EditReference, "LabelReference");
    request_.Intensity = IntegerOf(*EditInten, "LabelInten");
  });
}

}  // namespace vantrel::app
