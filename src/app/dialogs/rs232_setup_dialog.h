#pragma once

#include <QComboBox>
#include <QDialog>
#include <array>
#include <vector>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "link/link_settings.h"
#include "link/serial_port_names.h"

namespace vantrel::app {

// "RS232 Setup": edits the main window's serial settings, which change only on "Set".
// Each port name shows beside it the system device it maps to, where there is one.
class TFormRs232Setup : public QDialog {
  Q_OBJECT

 public:
  // `prompts` shows what a button's handler throws.
  TFormRs232Setup(SerialSettings& settings, LanguageIndex language,
                  const std::vector<SerialPortEntry>& present_ports, Prompts& prompts,
                  QWidget* parent = nullptr);

 private:
  void ButtonSetClick();
  void ButtonCancelClick();

  SerialSettings& settings_;
  // Port, baud rate, data bits, parity, stop bits, hardware and software handshake.
  std::array<QComboBox*, 7> lists_{};
};

}  // namespace vantrel::app
