#include "cli/fleet/fleet_targets.h"

#include <algorithm>
#include <set>
#include <span>

#include "cli/common/terminal_text.h"
#include "cli/fleet/fleet_report.h"
#include "common/parse_digits.h"
#include "config/config_item_edit.h"
#include "config/config_item_text.h"
#include "net/address_port.h"
#include "net/ipv4_text.h"
#include "net/name_resolver.h"
#include "net/net_setup_session.h"

namespace vantrel::cli {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string TargetText(const NetworkTarget& target) {
  const bool v6 = target.address.find(':') != std::string::npos;
  return (v6 ? "[" + target.address + "]" : target.address) + ":" + std::to_string(target.port);
}

// The first line of `text`, without its end, which is taken off `text` with the line.
std::string_view TakeLine(std::string_view& text) {
  const auto end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return line;
}

FleetTarget TargetAt(AddressPort parsed) {
  FleetTarget target;
  target.network = {std::move(parsed.address), parsed.port.value_or(NetworkTarget::kDefaultPort)};
  target.text = TargetText(target.network);
  return target;
}

// The full key of a key written with or without its page; the key as written when it names no
// item, so that the edit's refusal names it as written.
std::string FullKey(std::string_view key, std::string& refusal) {
  if (ItemWithKey(key) != nullptr || key.find('.') != std::string_view::npos)
    return std::string(key);
  std::vector<std::string> matches;
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      const std::string full = ItemKey(item);
      if (std::string_view(full).substr(full.find('.') + 1) == key) matches.push_back(full);
    }
  }
  if (matches.size() > 1) {
    refusal =
        PrintableText(key) + " is on more than one page: write " + matches[0] + " or " + matches[1];
  }
  return matches.size() == 1 ? matches[0] : std::string(key);
}

// Why no document could take these overrides, tried on one at 203 dpi, where every value the
// window takes fits; empty when one could.
std::string OverridesRefusal(std::span<const std::string> overrides) {
  PrinterConfig scratch;
  ResetConfig(scratch);
  scratch.Dpi.Set(203.0F);
  scratch.DotsPerMm = 8.0F;
  return PrintableText(ApplyConfigEdits(scratch, overrides));
}

// The overrides after a line's address, in full key form and checked.
std::string ParseOverrides(std::string_view text, std::vector<std::string>& overrides) {
  std::vector<std::string> written;
  while (!(text = Trimmed(text)).empty()) {
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    const std::size_t equals = word.find('=');
    if (equals != std::string_view::npos) {
      std::string refusal;
      written.push_back(FullKey(word.substr(0, equals), refusal) +
                        std::string(word.substr(equals)));
      if (!refusal.empty()) return refusal;
    } else if (!written.empty()) {
      written.back() += ' ' + std::string(word);
    } else {
      return PrintableText(word) + " is no override (KEY=VALUE)";
    }
  }
  if (std::string refusal = OverridesRefusal(written); !refusal.empty()) return refusal;
  overrides = std::move(written);
  return {};
}

}  // namespace

std::string ParseHostsText(std::string_view text, std::vector<FleetTarget>& targets) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  for (std::size_t number = 1; !text.empty(); ++number) {
    std::string_view line = TakeLine(text);
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::string where = "hosts file line " + std::to_string(number) + ": ";
    const std::size_t blank = std::min(line.find_first_of(" \t"), line.size());
    AddressPort parsed = ParseAddressPort(line.substr(0, blank));
    if (!parsed.ok()) return where + PrintableText(parsed.error);
    FleetTarget target = TargetAt(std::move(parsed));
    if (std::string refusal = ParseOverrides(line.substr(blank), target.overrides);
        !refusal.empty()) {
      return where + refusal;
    }
    targets.push_back(std::move(target));
  }
  return {};
}

std::string ParseRetryText(std::string_view text, std::vector<FleetTarget>& targets) {
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::string_view line = Trimmed(TakeLine(text));
    if (line.empty()) continue;
    const FleetReportLine read = ReadFleetReportLine(line);
    const auto refusal = [number](const std::string& why) {
      return "line " + std::to_string(number) + ": " + why;
    };
    if (!read.refusal.empty()) return refusal(read.refusal);
    if (!read.result || FleetSucceeded(read.result->outcome)) continue;
    AddressPort parsed = ParseAddressPort(read.result->target);
    if (!parsed.ok()) return refusal(PrintableText(parsed.error));
    FleetTarget target = TargetAt(std::move(parsed));
    if (std::string edits = OverridesRefusal(read.result->overrides); !edits.empty()) {
      return refusal(edits);
    }
    target.name = read.result->name;
    target.overrides = read.result->overrides;
    targets.push_back(std::move(target));
  }
  return {};
}

void ResolveTargets(std::vector<FleetTarget>& targets) {
  std::set<std::string> seen;
  std::vector<FleetTarget> kept;
  for (FleetTarget& target : targets) {
    Outcome<std::optional<ResolvedName>> resolved = ResolveName(target.network.address);
    if (resolved.value) {
      target.network.address = std::move(resolved.value->text);
    } else {
      target.unresolved = std::move(resolved.failure);
    }
    // An unresolved name counts once for its spelling.
    if (seen.insert(TargetText(target.network)).second) kept.push_back(std::move(target));
  }
  targets = std::move(kept);
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
