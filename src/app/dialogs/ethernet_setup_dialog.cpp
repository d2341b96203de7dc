#include "app/dialogs/ethernet_setup_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/dialogs/net_dialog_texts.h"
#include "app/widgets/language.h"
#include "app/widgets/printer_text.h"
#include "app/widgets/typing_limit.h"

namespace vantrel::app {
namespace {

constexpr int kDhcpItem = 0;
constexpr int kStaticItem = 1;
constexpr std::array<const char*, 6> kAddressRows = {"LabelIP",  "EditIP",       "LabelMask",
                                                     "EditMask", "LabelGateWay", "EditGateWay"};

QPushButton* NewDialogButton(QDialog* dialog, const char* name, int left, int width) {
  auto* button = new QPushButton(dialog);
  button->setObjectName(name);
  button->setGeometry(left, 236, width, 25);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

NetSettings InitialEthernetSettings() {
  NetSettings settings;
  settings.AddressMode = kAddressModeDhcp;
  settings.IpAddress = settings.SubnetMask = settings.Gateway = settings.LastUsedIp = "0.0.0.0";
  return settings;
}

TFormEthernetSetup::TFormEthernetSetup(NetSettings& settings, EthernetSetupEnvironment environment,
                                       QPoint top_left, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings),
      environment_(std::move(environment)),
      codec_(environment_.code_page),
      mode_(settings.AddressMode),
      RadioGroupDHCP(new RadioGroup("RadioGroupDHCP", {}, QStringList{QString(), QString()},
                                    Qt::Horizontal, this)) {
  setObjectName("TFormEthernetSetup");
  setWindowTitle("Ethernet Setup");
  setFixedSize(360, 272);
  move(top_left);
  settings_.Confirmed = 0;
  RadioGroupDHCP->setGeometry(16, 8, 328, 44);
  EditIP.edit = NewRow("LabelIP", "EditIP", 64);
  EditMask.edit = NewRow("LabelMask", "EditMask", 96);
  EditGateWay.edit = NewRow("LabelGateWay", "EditGateWay", 128);
  EditPrinterName.edit = NewRow("LabelPrinterName", "EditPrinterName", 160);
  // A longer name the printer already has is shown whole.
  EditPrinterName.edit->setValidator(new TypingLimit(EditPrinterName.edit, kNameLength));
  EditMACAddr = NewRow("LabelMACAddr", "EditMACAddr", 192);
  EditMACAddr->setReadOnly(true);
  EditMACAddr->setEnabled(false);
  connect(NewDialogButton(this, "ButtonSetPrinterName", 16, 128), &QPushButton::clicked, this,
          &TFormEthernetSetup::ButtonSetPrinterNameClick);
  connect(NewDialogButton(this, "ButtonSetIP", 152, 88), &QPushButton::clicked, this,
          &TFormEthernetSetup::ButtonSetIPClick);
  connect(NewDialogButton(this, "ButtonCancel", 256, 88), &QPushButton::clicked, this,
          &TFormEthernetSetup::ButtonCancelClick);
  connect(RadioGroupDHCP, &RadioGroup::Clicked, this, &TFormEthernetSetup::RadioGroupDHCPClick);

  // On DHCP the address field shows the one the printer was given.
  Show(EditIP, mode_ == kAddressModeDhcp ? settings.LastUsedIp : settings.IpAddress);
  Show(EditMask, settings.SubnetMask);
  Show(EditGateWay, settings.Gateway);
  Show(EditPrinterName, settings.PrinterName);
  EditMACAddr->setText(DecodePrinterText(codec_, settings.MacText));
  ShowMode();
  ApplyLocalizedTexts(*this, EthernetSetupTexts(), environment_.language);
}

void TFormEthernetSetup::Show(PrinterField& field, const std::string& bytes) {
  field.bytes = bytes;
  ShowUncut(*field.edit, DecodePrinterText(codec_, bytes));
}

std::optional<std::string> TFormEthernetSetup::Take(const PrinterField& field) {
  // A decoded text need not encode back to the same bytes: unedited, the bytes go back.
  if (field.edit->text() == DecodePrinterText(codec_, field.bytes)) return field.bytes;
  PrinterTextBytes typed = EncodePrinterText(codec_, field.edit->text());
  if (!typed.refusal.isEmpty()) {
    Refuse(field.edit, typed.refusal);
    return std::nullopt;
  }
  return std::move(typed.bytes);
}

void TFormEthernetSetup::Refuse(QLineEdit* edit, const QString& message) {
  if (environment_.prompts != nullptr) environment_.prompts->Message(message);
  edit->setFocus();
  edit->selectAll();
}

QLineEdit* TFormEthernetSetup::NewRow(const char* label, const char* edit, int top) {
  auto* caption = new QLabel(this);
  caption->setObjectName(label);
  caption->setGeometry(16, top + 3, 120, 20);
  auto* field = new QLineEdit(this);
  field->setObjectName(edit);
  field->setGeometry(144, top, 200, 24);
  return field;
}

void TFormEthernetSetup::ShowMode() {
  RadioGroupDHCP->SetItemIndex(mode_ == kAddressModeDhcp ? kDhcpItem : kStaticItem);
  for (const char* name : kAddressRows) {
    findChild<QWidget*>(QLatin1String(name))->setEnabled(mode_ != kAddressModeDhcp);
  }
}

void TFormEthernetSetup::RadioGroupDHCPClick(int index) {
  mode_ = index == kDhcpItem ? kAddressModeDhcp : kAddressModeStatic;
  ShowMode();
}

void TFormEthernetSetup::ButtonSetIPClick() {
  const bool dhcp = RadioGroupDHCP->ItemIndex() == kDhcpItem;
  const std::array<std::pair<const char*, const PrinterField*>, 3> rows = {
      {{"IP address", &EditIP}, {"Subnet mask", &EditMask}, {"Gateway", &EditGateWay}}};
  std::array<std::string, 3> texts;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& [label, field] = rows[i];
    std::optional<std::string> text = Take(*field);
    if (!text) return;
    // DHCP sends no address the user could have mistyped.
    const std::string refusal = dhcp ? std::string() : AddressTextRefusal(label, *text);
    if (!refusal.empty()) return Refuse(field->edit, QString::fromStdString(refusal));
    texts[i] = std::move(*text);
  }
  settings_.IpAddress = texts[0];
  settings_.SubnetMask = texts[1];
  settings_.Gateway = texts[2];
  settings_.AddressMode = dhcp ? kAddressModeDhcp : kAddressModeStatic;
  settings_.SetKind = 0;
  settings_.Confirmed = 1;
  accept();
}

void TFormEthernetSetup::ButtonSetPrinterNameClick() {
  std::optional<std::string> name = Take(EditPrinterName);
  if (!name) return;
  if (environment_.name_refusal) {
    const std::string refusal = environment_.name_refusal(*name);
    if (!refusal.empty()) return Refuse(EditPrinterName.edit, QString::fromStdString(refusal));
  }
  settings_.PrinterName = std::move(*name);
  settings_.SetKind = 1;
  settings_.Confirmed = 1;
  accept();
}

void TFormEthernetSetup::ButtonCancelClick() {
  settings_.Confirmed = 0;
  reject();
}

}  // namespace vantrel::app
