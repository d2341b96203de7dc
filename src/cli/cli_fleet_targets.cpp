#include "cli/cli_fleet_targets.h"

#include <algorithm>
#include <set>

#include "common/parse_digits.h"
#include "net/ipv4_text.h"
#include "net/net_setup_session.h"

namespace vantrel::cli {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// "host", "host:port", "[v6]", "[v6]:port" or a bare IPv6 address (two colons or more).
std::string ParseTargetLine(std::string_view line, NetworkTarget& target) {
  std::string_view address = line;
  std::optional<std::string_view> port;
  if (line.front() == '[') {
    const auto close = line.find(']');
    if (close == std::string_view::npos) return "a '[' without its ']'";
    address = line.substr(1, close - 1);
    const std::string_view rest = line.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return "text after ']' that is no :PORT";
    if (!rest.empty()) port = rest.substr(1);
  } else if (std::count(line.begin(), line.end(), ':') == 1) {
    const auto colon = line.find(':');
    address = line.substr(0, colon);
    port = line.substr(colon + 1);
  }
  if (address.empty()) return "no address";
  if (address.size() > NetworkTarget::kAddressCapacity) return "an address over 63 characters";
  if (address.find_first_of(" \t\"") != std::string_view::npos) return "a blank or quote in it";
  target.address = std::string(address);
  target.port = NetworkTarget::kDefaultPort;
  if (port) {
    const std::optional<int> number = ParseDigits(*port);
    if (!number || *number < 1 || *number > 65535) return "a port that is not 1..65535";
    target.port = *number;
  }
  return {};
}

std::string TargetText(const NetworkTarget& target) {
  const bool v6 = target.address.find(':') != std::string::npos;
  return (v6 ? "[" + target.address + "]" : target.address) + ":" + std::to_string(target.port);
}

}  // namespace

std::string ParseHostsText(std::string_view text, std::vector<FleetTarget>& targets) {
  std::set<std::string> seen;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    FleetTarget target;
    if (const std::string why = ParseTargetLine(line, target.network); !why.empty()) {
      return "hosts file line " + std::to_string(number) + ": " + why;
    }
    target.text = TargetText(target.network);
    if (seen.insert(target.text).second) targets.push_back(std::move(target));
  }
  return {};
}

std::optional<Ipv4Bytes> SubnetBroadcast(std::string_view cidr) {
  const auto slash = cidr.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view address = cidr.substr(0, slash);
  const std::string_view digits = cidr.substr(slash + 1);
  const int bits = ParseDigits(digits).value_or(-1);
  if (!IsCompleteIPv4Text(address) || bits < 0 || bits > 30) return std::nullopt;
  Ipv4Bytes bytes = *TryParseIPv4(address);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int covered = std::clamp(bits - static_cast<int>(i) * 8, 0, 8);
    bytes[i] = static_cast<std::uint8_t>(bytes[i] | (0xFFU >> covered));
  }
  return bytes;
}

DiscoveredFleet DiscoverFleet(const std::vector<Ipv4Bytes>& broadcasts) {
  DiscoveredFleet fleet;
  std::vector<DatagramTargets> runs(1);
  for (const Ipv4Bytes& broadcast : broadcasts) {
    DatagramTargets directed;
    directed.broadcast = broadcast;
    directed.multicast.reset();
    runs.push_back(directed);
  }
  std::set<std::string> seen;
  for (const DatagramTargets& targets : runs) {
    NetSetupSession session(targets);
    DiscoveryOutcome outcome = session.Discover();
    if (!outcome.failure.ok()) {
      fleet.failure = outcome.failure;
      return fleet;
    }
    for (const DeviceListRow& row : outcome.rows) {
      if (row.ip_address.empty() || !seen.insert(row.ip_address).second) continue;
      FleetTarget target;
      target.network.address = row.ip_address;
      target.text = TargetText(target.network);
      target.name = row.printer_name;
      fleet.targets.push_back(std::move(target));
    }
  }
  return fleet;
}

}  // namespace vantrel::cli
