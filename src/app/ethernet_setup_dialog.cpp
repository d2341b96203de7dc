#include "app/ethernet_setup_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/language.h"
#include "app/net_dialog_texts.h"

namespace vantrel::app {
namespace {

constexpr int kDhcpItem = 0;
constexpr int kStaticItem = 1;
constexpr std::array<const char*, 6> kAddressRows = {"LabelIP",  "EditIP",       "LabelMask",
                                                     "EditMask", "LabelGateWay", "EditGateWay"};

QString FromText(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* NewDialogButton(QDialog* dialog, const char* name, int left, int width) {
  auto* button = new QPushButton(dialog);
  button->setObjectName(name);
  button->setGeometry(left, 236, width, 25);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TFormEthernetSetup::TFormEthernetSetup(NetSettings& settings, LanguageIndex language,
                                       QPoint top_left, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings),
      mode_(settings.AddressMode),
      RadioGroupDHCP(new RadioGroup("RadioGroupDHCP", {}, QStringList{QString(), QString()},
                                    Qt::Horizontal, this)) {
  setObjectName("TFormEthernetSetup");
  setWindowTitle("Ethernet Setup");
  setFixedSize(360, 272);
  move(top_left);
  settings_.Confirmed = 0;
  RadioGroupDHCP->setGeometry(16, 8, 328, 44);
  EditIP = NewRow("LabelIP", "EditIP", 64);
  EditMask = NewRow("LabelMask", "EditMask", 96);
  EditGateWay = NewRow("LabelGateWay", "EditGateWay", 128);
  EditPrinterName = NewRow("LabelPrinterName", "EditPrinterName", 160);
  EditPrinterName->setMaxLength(kNameLength);
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
  EditIP->setText(FromText(mode_ == kAddressModeDhcp ? settings.LastUsedIp : settings.IpAddress));
  EditMask->setText(FromText(settings.SubnetMask));
  EditGateWay->setText(FromText(settings.Gateway));
  EditPrinterName->setText(FromText(settings.PrinterName));
  EditMACAddr->setText(FromText(settings.MacText));
  ShowMode();
  ApplyLocalizedTexts(*this, EthernetSetupTexts(), language);
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
  settings_.IpAddress = EditIP->text().toStdString();
  settings_.SubnetMask = EditMask->text().toStdString();
  settings_.Gateway = EditGateWay->text().toStdString();
  settings_.AddressMode =
      RadioGroupDHCP->ItemIndex() == kDhcpItem ? kAddressModeDhcp : kAddressModeStatic;
  settings_.SetKind = 0;
  settings_.Confirmed = 1;
  accept();
}

void TFormEthernetSetup::ButtonSetPrinterNameClick() {
  settings_.PrinterName = EditPrinterName->text().toStdString();
  settings_.SetKind = 1;
  settings_.Confirmed = 1;
  accept();
}

void TFormEthernetSetup::ButtonCancelClick() {
  settings_.Confirmed = 0;
  reject();
}

}  // namespace vantrel::app
