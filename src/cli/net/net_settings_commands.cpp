// net read, dhcp, static and name: the printer's Ethernet settings over the current link
// (operations 16-18).
#include <iostream>
#include <memory>

#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "cli/common/terminal_text.h"
#include "ops/dispatcher.h"
#include "ops/network_operations.h"

namespace vantrel::cli {
namespace {

nlohmann::json NetSettingsJson(const NetSettings& settings) {
  return {{"AddressMode", settings.AddressMode},
          {"IpAddress", PrinterText(settings.IpAddress)},
          {"SubnetMask", PrinterText(settings.SubnetMask)},
          {"Gateway", PrinterText(settings.Gateway)},
          {"LastUsedIp", PrinterText(settings.LastUsedIp)},
          {"PrinterName", PrinterText(settings.PrinterName)},
          {"MacText", PrinterText(settings.MacText)},
          {"SetKind", settings.SetKind},
          {"Confirmed", settings.Confirmed}};
}

int ReadNet(CliContext& context, bool json) {
  NetSettings settings;
  if (const int code = context.Run(kOpReadNetworkSettings, &settings); code != 0) return code;
  if (json) {
    PrintJson(NetSettingsJson(settings));
    return 0;
  }
  std::cout << "Address mode: " << (settings.AddressMode == kAddressModeDhcp ? "DHCP" : "static")
            << "\nIP address: " << PrintableText(settings.IpAddress)
            << "\nSubnet mask: " << PrintableText(settings.SubnetMask)
            << "\nGateway: " << PrintableText(settings.Gateway)
            << "\nLast used IP: " << PrintableText(settings.LastUsedIp)
            << "\nPrinter name: " << PrintableText(settings.PrinterName)
            << "\nMAC address: " << PrintableText(settings.MacText) << '\n';
  return 0;
}

// Runs operation 16 or 17 unless the settings would be refused, which is said plainly first.
int SetNet(CliContext& context, int op, NetSettings settings) {
  const std::string refusal =
      op == kOpSetNetworkName ? NameCommandRefusal(settings) : AddressCommandRefusal(settings);
  if (!refusal.empty()) return Refuse(refusal);
  return context.Run(op, &settings);
}

}  // namespace

void AddNetSettingsCommands(CLI::App& app, CliContext& context) {
  auto* net = app.add_subcommand("net", "The printer's Ethernet settings over the current link");
  net->require_subcommand(1);
  auto* read = net->add_subcommand("read", "Read the network settings (operation 18)");
  auto json = std::make_shared<bool>(false);
  read->add_flag("--json", *json, "print one JSON document");
  read->callback(
      [&context, json] { context.action = [&context, json] { return ReadNet(context, *json); }; });
  net->add_subcommand("dhcp", "Obtain the address by DHCP (operation 16)")->callback([&context] {
    context.action = [&context] {
      NetSettings settings;
      settings.AddressMode = kAddressModeDhcp;
      return SetNet(context, kOpSetNetworkAddress, settings);
    };
  });
  auto* fixed = net->add_subcommand("static", "Use a static address (operation 16)");
  auto addresses = std::make_shared<NetSettings>();
  fixed->add_option("IP", addresses->IpAddress, "IPv4 address")->required();
  fixed->add_option("MASK", addresses->SubnetMask, "subnet mask")->required();
  fixed->add_option("GATEWAY", addresses->Gateway, "gateway address")->required();
  fixed->callback([&context, addresses] {
    context.action = [&context, addresses] {
      return SetNet(context, kOpSetNetworkAddress, *addresses);
    };
  });
  auto* name = net->add_subcommand("name", "Set the printer's network name (operation 17)");
  auto named = std::make_shared<NetSettings>();
  name->add_option("NAME", named->PrinterName, "the new name")->required();
  name->callback([&context, named] {
    context.action = [&context, named] { return SetNet(context, kOpSetNetworkName, *named); };
  });
}

}  // namespace vantrel::cli
