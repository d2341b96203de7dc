#pragma once

#include <QComboBox>
#include <QDialog>

#include "app/widgets/localized_texts.h"
#include "link/link_settings.h"

namespace vantrel::app {

// "LPT Setup": chooses the parallel port, written into the main window's record only on "Set".
// Each port name shows beside it the device it maps to, where that device exists.
class TFormLPTSetup : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPortCount = 4;

  TFormLPTSetup(ParallelPortName& port, LanguageIndex language, QWidget* parent = nullptr);

 private:
  void ButtonSetClick();
  void ButtonCancelClick();

  ParallelPortName& port_;
  QComboBox* ComboBoxLPT;
};

}  // namespace vantrel::app
