#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPoint>

#include "app/localized_texts.h"
#include "app/radio_group.h"
#include "net/net_settings.h"

namespace vantrel::app {

// The main window's record before the first read: DHCP, every address "0.0.0.0".
NetSettings InitialEthernetSettings();

// "Ethernet Setup": edits a printer's address mode, addresses and name. It sets the caller's
// Confirmed to 0 when it opens and writes into the caller's record only from its Set buttons:
// "Set IP" the mode and the three addresses (SetKind 0), "Set Printer Name" the name alone
// (SetKind 1). It validates nothing; the callers check before anything is sent.
class TFormEthernetSetup : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kNameLength = 15;

  TFormEthernetSetup(NetSettings& settings, LanguageIndex language, QPoint top_left,
                     QWidget* parent = nullptr);

 private:
  QLineEdit* NewRow(const char* label, const char* edit, int top);
  void ShowMode();
  void RadioGroupDHCPClick(int index);
  void ButtonSetIPClick();
  void ButtonSetPrinterNameClick();
  void ButtonCancelClick();

  NetSettings& settings_;
  std::uint8_t mode_;  // the working address mode
  RadioGroup* RadioGroupDHCP;
  QLineEdit* EditIP;
  QLineEdit* EditMask;
  QLineEdit* EditGateWay;
  QLineEdit* EditPrinterName;
  QLineEdit* EditMACAddr;
};

}  // namespace vantrel::app
