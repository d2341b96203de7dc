#include "app/dialogs/ethernet_setup_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/net_dialog_texts.h"
#include "app/guard.h"
#include "app/widgets/language.h"
#include "app/widgets/printer_text.h"
#include "app/widgets/typing_limit.h"

namespace vantrel::app {
namespace {

constexpr int kDhcpItem = 0;
constexpr int kStaticItem = 1;
constexpr std::array<const char*, 6> kAddressRows = {"LabelIP",  "EditIP",       "LabelMask",
                                                     "EditMask", "LabelGateWay", "EditGateWay"};

// The designed size; the dialog grows past it only when its captions need more room.
constexpr QSize kDesignedSize(360, 272);
constexpr int kCaptionWidth = 120;

QPushButton* NewDialogButton(QDialog* dialog, const char* name) {
  auto* button = new QPushButton(dialog);
  button->setObjectName(name);
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
  move(top_left);
  settings_.Confirmed = 0;
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 8, 16, 11);
  column->addWidget(RadioGroupDHCP);
  column->addLayout(NewRows());
  column->addStretch(1);
  column->addLayout(NewButtonRow());
  connect(RadioGroupDHCP, &RadioGroup::Clicked, this,
          Guarded(*environment_.prompts, this, &TFormEthernetSetup::RadioGroupDHCPClick));

  // On DHCP the address field shows the one the printer was given.
  Show(EditIP, mode_ == kAddressModeDhcp ? settings.LastUsedIp : settings.IpAddress);
  Show(EditMask, settings.SubnetMask);
  Show(EditGateWay, settings.Gateway);
  Show(EditPrinterName, settings.PrinterName);
  EditMACAddr->setText(DecodePrinterText(codec_, settings.MacText));
  ShowMode();
  ApplyLocalizedTexts(*this, EthernetSetupTexts(), environment_.language);
  setFixedSize(kDesignedSize.expandedTo(minimumSizeHint()));
}

QGridLayout* TFormEthernetSetup::NewRows() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setColumnMinimumWidth(0, kCaptionWidth);
  EditIP.edit = NewRow(*grid, "LabelIP", "EditIP");
  EditMask.edit = NewRow(*grid, "LabelMask", "EditMask");
  EditGateWay.edit = NewRow(*grid, "LabelGateWay", "EditGateWay");
  EditPrinterName.edit = NewRow(*grid, "LabelPrinterName", "EditPrinterName");
  // A longer name the printer already has is shown whole.
  EditPrinterName.edit->setValidator(new TypingLimit(EditPrinterName.edit, kNameLength));
  EditMACAddr = NewRow(*grid, "LabelMACAddr", "EditMACAddr");
  EditMACAddr->setReadOnly(true);
  EditMACAddr->setEnabled(false);
  return grid;
}

QHBoxLayout* TFormEthernetSetup::NewButtonRow() {
  auto* row = new QHBoxLayout;
  QPushButton* name = NewDialogButton(this, "ButtonSetPrinterName");
  QPushButton* address = NewDialogButton(this, "ButtonSetIP");
  QPushButton* cancel = NewDialogButton(this, "ButtonCancel");
  row->addWidget(name);
  row->addStretch(1);
  row->addWidget(address);
  row->addWidget(cancel);
  Prompts& prompts = *environment_.prompts;
  connect(name, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormEthernetSetup::ButtonSetPrinterNameClick));
  connect(address, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormEthernetSetup::ButtonSetIPClick));
  connect(cancel, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormEthernetSetup::ButtonCancelClick));
  return row;
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
  environment_.prompts->Message(message);
  edit->setFocus();
  edit->selectAll();
}

QLineEdit* TFormEthernetSetup::NewRow(QGridLayout& grid, const char* label, const char* edit) {
  const int row = grid.rowCount();
  auto* caption = new QLabel(this);
  caption->setObjectName(label);
  grid.addWidget(caption, row, 0);
  auto* field = new QLineEdit(this);
  field->setObjectName(edit);
  grid.addWidget(field, row, 1);
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
