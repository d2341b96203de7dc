// "Ethernet Setup" on the main window: read the printer's network settings (operation 18), let
// the user edit them, then set either the addresses (16) or the name (17) over the same link.
#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/main_window.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonEthernetClick() {
  auto read = std::make_shared<NetSettings>();
  RunOperation(kOpReadNetworkSettings, read.get(), 0, [this, read] {
    net_settings_.AddressMode = read->AddressMode;
    net_settings_.IpAddress = read->IpAddress;
    net_settings_.SubnetMask = read->SubnetMask;
    net_settings_.Gateway = read->Gateway;
    net_settings_.LastUsedIp = read->LastUsedIp;
    net_settings_.PrinterName = read->PrinterName;
    net_settings_.MacText = read->MacText;
    const QRect frame = frameGeometry();
    const ProgressOrigin origin =
        ProgressOriginFor(frame.x(), frame.y(), frame.width(), frame.height());
    // "NET NAME" quotes the name: the dialog refuses what would end the quotes early.
    EthernetSetupEnvironment environment{
        prompts_, language_, code_page_,
        [](std::string_view name) { return FieldTextRefusal("The printer name", name); }};
    TFormEthernetSetup dialog(net_settings_, std::move(environment), QPoint(origin.x, origin.y),
                              this);
    prompts_->RunDialog(dialog);
    if (net_settings_.Confirmed == 0) return;
    SendEthernetSettings(*read);
  });
}

// One pass sets either the addresses or the name, never both.
void TFormMain::SendEthernetSettings(NetSettings request) {
  request.AddressMode = net_settings_.AddressMode;
  request.IpAddress = net_settings_.IpAddress;
  request.SubnetMask = net_settings_.SubnetMask;
  request.Gateway = net_settings_.Gateway;
  request.PrinterName = net_settings_.PrinterName;
  const bool name = net_settings_.SetKind != 0;
  auto record = std::make_shared<NetSettings>(std::move(request));
  RunOperation(name ? kOpSetNetworkName : kOpSetNetworkAddress, record.get(), 0, [record] {});
}

}  // namespace vantrel::app
