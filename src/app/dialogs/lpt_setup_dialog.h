#pragma once

#include <QComboBox>
#include <QDialog>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "link/link_settings.h"

namespace vantrel::app {

// "LPT Setup": chooses the parallel port, written into the main window's record only on "Set".
// Each port name shows beside it the device it maps to.
class TFormLPTSetup : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPortCount = 4;

  // `prompts` shows what a button's handler throws.
  TFormLPTSetup(ParallelPortName& port, LanguageIndex language, Prompts& prompts,
                QWidget* parent = nullptr);

 private:
  void ButtonSetClick();
  void ButtonCancelClick();

  ParallelPortName& port_;
  QComboBox* ComboBoxLPT;
};

}  // namespace vantrel::app
