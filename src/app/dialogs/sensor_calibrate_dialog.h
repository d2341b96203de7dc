#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <functional>
#include <span>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/radio_group.h"
#include "ops/sensor_calibration.h"

namespace vantrel::app {

// The sensor calibration dialog's table (15 entries); its window caption is not localized.
std::span<const LocalizedEntry> SensorCalibrateTexts();

// "Sensor Calibration": "Calibrate" stores the media type and the two lengths (in dots, from
// the unit that DotsPerUnit stands for), "Set" the media type, reference and intensity. Either
// closes only once the values are numbers the printer may be sent; otherwise it says why and
// stays open. Leaving it any other way sets Confirmed to 0.
class TFormSensorCalibrate : public QDialog {
  Q_OBJECT

 public:
  TFormSensorCalibrate(CalibrationRequest& request, LanguageIndex language, QPoint top_left,
                       Prompts& prompts, QWidget* parent = nullptr);

  void reject() override;

 private:
  QWidget* NewAutoGroup();
  QWidget* NewManualGroup();
  // The edit's number; a text that is none throws ConversionError naming the field `label`
  // captions.
  std::int32_t LengthOf(const QLineEdit& edit, const char* label) const;
  std::int32_t IntegerOf(const QLineEdit& edit, const char* label) const;
  void Finish(CalibrationKind kind, const std::function<void()>& convert);
  void ButtonCalibClick();
  void ButtonSetClick();

  CalibrationRequest& request_;
  Prompts& prompts_;
  RadioGroup* RadioGroupMediaType;
  QLineEdit* EditHeight = nullptr;
  QLineEdit* EditGap = nullptr;
  QLineEdit* EditReference = nullptr;
  QLineEdit* EditInten = nullptr;
};

}  // namespace vantrel::app
