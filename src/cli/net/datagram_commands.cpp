// discover, udp factory-default and udp change-ip: one printer or all of them by datagrams.
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/common/commands.h"
#include "cli/common/decimal_integer.h"
#include "cli/common/json.h"
#include "cli/common/report.h"
#include "cli/common/terminal_text.h"
#include "net/ipv4_text.h"
#include "net/mac_text.h"
#include "net/net_setup_session.h"

namespace vantrel::cli {
namespace {

// The datagram options as typed; checked once parsing is done.
struct DatagramOptions {
  std::string broadcast = "255.255.255.255";
  std::string multicast = "224.0.0.251";
  int port = DatagramTargets::kDefaultPort;
};

void AddDatagramOptions(CLI::App* command, DatagramOptions& options, bool with_multicast) {
  command
      ->add_option("--broadcast", options.broadcast,
                   "where requests go: a broadcast or directed address")
      ->capture_default_str();
  if (with_multicast) {
    command
        ->add_option("--multicast", options.multicast,
                     "multicast group of the second request, or none")
        ->capture_default_str();
  }
  command->add_option("--udp-port", options.port, "UDP port of the printers")
      ->transform(DecimalPort())
      ->capture_default_str();
}

std::optional<Ipv4Bytes> CompleteIPv4(const std::string& text) {
  if (!IsCompleteIPv4Text(text)) return std::nullopt;
  return TryParseIPv4(text);
}

// The targets, or the refusal text.
std::string ToTargets(const DatagramOptions& options, DatagramTargets& targets) {
  const auto broadcast = CompleteIPv4(options.broadcast);
  if (!broadcast) return "--broadcast \"" + options.broadcast + "\" is not an IPv4 address";
  targets.broadcast = *broadcast;
  targets.port = static_cast<std::uint16_t>(options.port);
  if (options.multicast == "none") {
    targets.multicast.reset();
    return {};
  }
  const auto multicast = CompleteIPv4(options.multicast);
  if (!multicast) return "--multicast \"" + options.multicast + "\" is not an IPv4 address or none";
  targets.multicast = *multicast;
  return {};
}

std::string MacRefusal(const std::string& text) {
  return "\"" + text + "\" is not a MAC address (six two-digit hex bytes separated by colons)";
}

void PrintRows(const std::vector<DeviceListRow>& rows, bool json) {
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const DeviceListRow& row : rows) {
      list.push_back({{"name", PrinterText(row.printer_name)},
                      {"mac", row.mac},
                      {"ip", row.ip_address},
                      {"model", PrinterText(row.model_name)},
                      {"status", row.status}});
    }
    PrintJson(list);
    return;
  }
  if (rows.empty()) {
    std::cout << "No printer answered\n";
    return;
  }
  std::cout << "Printer Name\tMAC\tIP Address\tModel Name\tStatus\n";
  for (const DeviceListRow& row : rows) {
    std::cout << PrintableText(row.printer_name) << '\t' << PrintableText(row.mac) << '\t'
              << PrintableText(row.ip_address) << '\t' << PrintableText(row.model_name) << '\t'
              << PrintableText(row.status) << '\n';
  }
}

// Datagrams the system refused (no route, for one) were never sent: all of them is the failure
// to report; some of them is said beside what the others brought.
std::optional<int> UnsentFailure(const DatagramTally& tally) {
  if (tally.sent == 0) return Report(tally.failure);
  if (tally.sent < tally.tried) {
    std::cerr << "Only " << tally.sent << " of " << tally.tried
              << " datagrams were sent: " << tally.failure.detail << '\n';
  }
  return std::nullopt;
}

// A discovery that could ask nobody must not pass for one that nobody answered.
std::optional<int> DiscoveryFailure(const DiscoveryOutcome& outcome) {
  if (!outcome.failure.ok()) return Report(outcome.failure);
  return UnsentFailure(outcome.requests);
}

int Discover(const DatagramOptions& options, bool json) {
  DatagramTargets targets;
  if (std::string refusal = ToTargets(options, targets); !refusal.empty()) return Refuse(refusal);
  NetSetupSession session(targets);
  const DiscoveryOutcome outcome = session.Discover();
  if (const std::optional<int> failed = DiscoveryFailure(outcome)) return *failed;
  PrintRows(outcome.rows, json);
  return 0;
}

int FactoryDefaultByDatagram(const DatagramOptions& options, const std::string& mac_text) {
  DatagramTargets targets;
  if (std::string refusal = ToTargets(options, targets); !refusal.empty()) return Refuse(refusal);
  const auto mac = ParseMacText(mac_text);
  if (!mac) return Refuse(MacRefusal(mac_text));
  NetSetupSession session(targets);
  if (const LinkFailure sent = session.SendFactoryDefault(*mac); !sent.ok()) {
    return Report(sent);
  }
  std::cout << "Factory default request sent to " << FormatMacText(*mac) << '\n';
  return 0;
}

struct ChangeIpOptions {
  DatagramOptions datagrams;
  std::string mac;
  bool dhcp = false;
  std::string ip;
  std::string mask;
  std::string gateway;
  std::optional<std::string> name;
};

std::optional<std::string> ListedName(const std::vector<DeviceListRow>& rows,
                                      const MacAddress& mac) {
  const std::string wanted = FormatMacText(mac);
  for (const DeviceListRow& row : rows) {
    if (row.mac == wanted) return row.printer_name;
  }
  return std::nullopt;
}

int ChangeIp(const ChangeIpOptions& options) {
  DatagramTargets targets;
  if (std::string refusal = ToTargets(options.datagrams, targets); !refusal.empty()) {
    return Refuse(refusal);
  }
  const auto mac = ParseMacText(options.mac);
  if (!mac) return Refuse(MacRefusal(options.mac));
  NetSettings typed;
  typed.IpAddress = options.ip;
  typed.SubnetMask = options.mask;
  typed.Gateway = options.gateway;
  if (std::string refusal = options.dhcp ? "" : AddressTextsRefusal(typed); !refusal.empty()) {
    return Refuse(refusal);
  }
  if (options.name) {
    if (std::string refusal = FieldTextRefusal("The printer name", *options.name);
        !refusal.empty()) {
      return Refuse(refusal);
    }
  }
  // The printer name a Change IP sends is the one the discovery lists, unless one is given.
  // Only a directed request is needed to find one printer's name.
  std::optional<std::string> name = options.name;
  if (!name) {
    DatagramTargets lookup_targets = targets;
    lookup_targets.multicast.reset();
    NetSetupSession lookup(lookup_targets);
    const DiscoveryOutcome found = lookup.Discover();
    if (const std::optional<int> failed = DiscoveryFailure(found)) return *failed;
    name = ListedName(found.rows, *mac);
  }
  if (!name) {
    return Report(
        LinkFailure{kResultReceivingError, 0,
                    "no printer with MAC " + FormatMacText(*mac) + " answered the discovery"});
  }

  NetSetupSession session(targets);
  ChangeIpRun run = session.BeginChangeIp(*mac);
  if (!run.is_open()) return Report(run.failure());
  NetSettings settings;
  StoreNetText(settings.MacText, FormatMacText(*mac));
  StoreNetText(settings.PrinterName, *name);
  run.ReadSettings(settings);
  settings.AddressMode = options.dhcp ? kAddressModeDhcp : kAddressModeStatic;
  if (!options.dhcp) {
    settings.IpAddress = typed.IpAddress;
    settings.SubnetMask = typed.SubnetMask;
    settings.Gateway = typed.Gateway;
  }
  if (std::string refusal = session.FinishChangeIp(run, settings); !refusal.empty()) {
    return Refuse("Nothing was set: " + refusal);
  }
  if (const std::optional<int> failed = UnsentFailure(run.tally())) return *failed;
  std::cout << "Set " << PrintableText(settings.MacText) << ": name \""
            << PrintableText(settings.PrinterName) << "\", " << (options.dhcp ? "DHCP" : "static")
            << ", " << PrintableText(settings.IpAddress) << " mask "
            << PrintableText(settings.SubnetMask) << " gateway " << PrintableText(settings.Gateway)
            << '\n';
  return 0;
}

void AddDiscoverCommand(CLI::App& app, CliContext& context) {
  auto* discover = app.add_subcommand("discover", "Find the printers on the network by datagrams");
  auto options = std::make_shared<DatagramOptions>();
  auto json = std::make_shared<bool>(false);
  AddDatagramOptions(discover, *options, true);
  discover->add_flag("--json", *json, "print one JSON document");
  discover->callback([&context, options, json] {
    context.action = [options, json] { return Discover(*options, *json); };
  });
}

void AddFactoryDefaultCommand(CLI::App* udp, CliContext& context) {
  auto* reset = udp->add_subcommand("factory-default", "Send the factory-default datagram to MAC");
  auto options = std::make_shared<DatagramOptions>();
  auto mac = std::make_shared<std::string>();
  reset->add_option("MAC", *mac, "the printer's MAC address, as discover lists it")->required();
  AddDatagramOptions(reset, *options, false);
  reset->callback([&context, options, mac] {
    context.action = [options, mac] { return FactoryDefaultByDatagram(*options, *mac); };
  });
}

void AddChangeIpCommand(CLI::App* udp, CliContext& context) {
  auto* change =
      udp->add_subcommand("change-ip", "Set one printer's address settings by datagrams");
  auto options = std::make_shared<ChangeIpOptions>();
  change->add_option("MAC", options->mac, "the printer's MAC address")->required();
  auto* dhcp = change->add_flag("--dhcp", options->dhcp, "obtain the address by DHCP");
  auto* ip = change->add_option("--ip", options->ip, "static IPv4 address");
  auto* mask = change->add_option("--mask", options->mask, "subnet mask");
  auto* gateway = change->add_option("--gateway", options->gateway, "gateway address");
  ip->needs(mask, gateway);
  mask->needs(ip);
  gateway->needs(ip);
  dhcp->excludes(ip, mask, gateway);
  change->add_option("--name", options->name,
                     "printer name to send; without it, the name the discovery lists");
  AddDatagramOptions(change, options->datagrams, false);
  change->callback([&context, options, dhcp, ip] {
    context.action = [options, dhcp, ip] {
      if (dhcp->count() == 0 && ip->count() == 0) {
        std::cerr << "change-ip needs --dhcp, or --ip, --mask and --gateway\n";
        return kExitUsage;
      }
      return ChangeIp(*options);
    };
  });
}

}  // namespace

void AddDatagramCommands(CLI::App& app, CliContext& context) {
  AddDiscoverCommand(app, context);
  auto* udp = app.add_subcommand("udp", "Reset or readdress one printer by datagrams");
  udp->require_subcommand(1);
  AddFactoryDefaultCommand(udp, context);
  AddChangeIpCommand(udp, context);
}

}  // namespace vantrel::cli
