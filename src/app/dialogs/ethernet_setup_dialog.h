#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"
#include "net/net_settings.h"

class QGridLayout;
class QHBoxLayout;

namespace vantrel::app {

// The main window's record before the first read: DHCP, every address "0.0.0.0".
NetSettings InitialEthernetSettings();

// What the Ethernet settings dialog takes from its caller.
struct EthernetSetupEnvironment {
  Prompts* prompts = nullptr;  // not owned, required; shows why a Set is refused
  LanguageIndex language = kEnglish;
  AnsiCodePage code_page = AnsiCodePage::kWestern;  // of the printer's texts
  // Why a name cannot go out on the caller's path, or empty; none: any name goes.
  std::function<std::string(std::string_view name)> name_refusal;
};

// "Ethernet Setup": edits a printer's address mode, addresses and name. It sets the caller's
// Confirmed to 0 when it opens and writes into the caller's record only from its Set buttons:
// "Set IP" the mode and the three addresses (SetKind 0), "Set Printer Name" the name alone
// (SetKind 1). A Set that cannot go out (a static address that is no address, a character
// the code page lacks, a name the caller refuses) keeps the dialog open on the field at fault.
// Texts shown in the code page and left unedited go back byte for byte.
class TFormEthernetSetup : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kNameLength = 15;

  TFormEthernetSetup(NetSettings& settings, EthernetSetupEnvironment environment, QPoint top_left,
                     QWidget* parent = nullptr);

 private:
  // An edit that shows printer bytes.
  struct PrinterField {
    QLineEdit* edit;
    std::string bytes;
  };

  // The caption/field rows, and the Set and Cancel buttons.
  QGridLayout* NewRows();
  QHBoxLayout* NewButtonRow();
  QLineEdit* NewRow(QGridLayout& grid, const char* label, const char* edit);
  void Show(PrinterField& field, const std::string& bytes);
  // The field's bytes: those shown while unedited, else the text in the code page.
  std::optional<std::string> Take(const PrinterField& field);
  void Refuse(QLineEdit* edit, const QString& message);
  void ShowMode();
  void RadioGroupDHCPClick(int index);
  void ButtonSetIPClick();
  void ButtonSetPrinterNameClick();
  void ButtonCancelClick();

  NetSettings& settings_;
  EthernetSetupEnvironment environment_;
  AnsiCodec codec_;
  std::uint8_t mode_;  // the working address mode
  RadioGroup* RadioGroupDHCP;
  PrinterField EditIP;
  PrinterField EditMask;
  PrinterField EditGateWay;
  PrinterField EditPrinterName;
  QLineEdit* EditMACAddr;
};

}  // namespace vantrel::app
