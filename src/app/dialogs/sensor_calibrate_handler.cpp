// "Calibrate Sensor": the dialog fills a calibration request, operation 8 sends it.
#include "app/dialogs/sensor_calibrate_dialog.h"
#include "app/main_window.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonSensorCalibrateClick() {
  auto request = std::make_shared<CalibrationRequest>();
  // Lengths are typed in the unit the configuration shows, counted in the printer's dots.
  request->DotsPerUnit = DotsPerUnitOf(unit() == kUnitMm ? config_.DotsPerMm : config_.Dpi.value);
  TFormSensorCalibrate dialog(*request, language_, DialogOrigin(), *prompts_, this);
  prompts_->RunDialog(dialog);
  if (request->Confirmed == 0) return;
  RunOperation(kOpCalibrateSensor, request.get(), 0, [request] {});
}

}  // namespace vantrel::app
