#include "cli/fleet/fleet_targets.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <set>

#include "cli/common/terminal_text.h"
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

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Dot-separated labels of letters, digits and inner hyphens; dotted IPv4 addresses are of this
// form too. (A label's limit of 63 is the whole address's here.)
bool IsHostName(std::string_view name) {
  while (true) {
    const auto dot = name.find('.');
    const std::string_view label = name.substr(0, dot);
    if (label.empty() || label.front() == '-' || label.back() == '-') return false;
    if (!std::all_of(label.begin(), label.end(),
                     [](char c) { return IsLetterOrDigit(c) || c == '-'; })) {
      return false;
    }
    if (dot == std::string_view::npos) return true;
    name.remove_prefix(dot + 1);
  }
}

// An IPv6 address, with a scope ("%eth0") where it has one.
bool IsIpv6Text(std::string_view text) {
  const auto percent = text.find('%');
  const std::string_view scope =
      percent == std::string_view::npos ? std::string_view() : text.substr(percent + 1);
  const std::string address(text.substr(0, percent));
  in6_addr bytes{};
  const bool scope_ok = percent == std::string_view::npos ||
                        (!scope.empty() && std::all_of(scope.begin(), scope.end(), [](char c) {
                          return IsLetterOrDigit(c) || c == '_' || c == '.' || c == '-';
                        }));
  // A NUL would end the text early for the system's parser.
  return scope_ok && address.find('\0') == std::string::npos &&
         ::inet_pton(AF_INET6, address.c_str(), &bytes) == 1;
}

// "host", "host:port", "[v6]", "[v6]:port" or a bare IPv6 address (two colons or more).
std::string ParseTargetLine(std::string_view line, NetworkTarget& target) {
  std::string_view address = line;
  std::optional<std::string_view> port;
  const auto colons = std::count(line.begin(), line.end(), ':');
  bool v6 = colons > 1;
  if (line.front() == '[') {
    const auto close = line.find(']');
    if (close == std::string_view::npos) return "a '[' without its ']'";
    address = line.substr(1, close - 1);
    v6 = true;
    const std::string_view rest = line.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return "text after ']' that is no :PORT";
    if (!rest.empty()) port = rest.substr(1);
  } else if (colons == 1) {
    const auto colon = line.find(':');
    address = line.substr(0, colon);
    port = line.substr(colon + 1);
  }
  if (address.empty()) return "no address";
  if (address.size() > NetworkTarget::kAddressCapacity) return "an address over 63 characters";
  if (v6 ? !IsIpv6Text(address) : !IsHostName(address)) {
    return "\"" + PrintableText(address) + "\" is neither an address nor a host name";
  }
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

// The numeric address a connection to `name` goes to, as the link's own resolution would find
// it. Printers are IPv4 devices first: a name with addresses of both kinds is reached over IPv4.
Outcome<std::string> ResolveAddress(const std::string& name) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int status = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); status != 0) {
    return {{},
            {kResultPortOpenError, status == EAI_SYSTEM ? errno : 0,
             "cannot resolve \"" + name + "\": " + ::gai_strerror(status)}};
  }
  const addrinfo* chosen = found;
  for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
    if (address->ai_family == AF_INET) {
      chosen = address;
      break;
    }
  }
  std::array<char, NI_MAXHOST> text{};
  const int status = ::getnameinfo(chosen->ai_addr, chosen->ai_addrlen, text.data(), text.size(),
                                   nullptr, 0, NI_NUMERICHOST);
  ::freeaddrinfo(found);
  if (status != 0) {
    return {
        {},
        {kResultPortOpenError, 0, "cannot resolve \"" + name + "\": " + ::gai_strerror(status)}};
  }
  return {text.data(), {}};
}

}  // namespace

std::string ParseHostsText(std::string_view text, std::vector<FleetTarget>& targets) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
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
    targets.push_back(std::move(target));
  }
  return {};
}

void ResolveTargets(std::vector<FleetTarget>& targets) {
  std::set<std::string> seen;
  std::vector<FleetTarget> kept;
  for (FleetTarget& target : targets) {
    Outcome<std::string> resolved = ResolveAddress(target.network.address);
    if (resolved.failure.ok()) {
      target.network.address = std::move(resolved.value);
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
