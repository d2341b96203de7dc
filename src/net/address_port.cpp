#include "net/address_port.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

#include "common/network_target.h"
#include "net/ipv4_text.h"

namespace vantrel {
namespace {

constexpr int kHighestPort = 65535;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Dot-separated labels of letters, digits and inner hyphens. (A label's limit of 63 is the whole
// address's here.)
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

AddressPort Refused(std::string why) {
  return {{}, std::nullopt, std::move(why)};
}

// The system's resolver reads "010.1" as octal and short forms: a text of digits and dots is an
// IPv4 address in four decimal parts, kept in its plain spelling.
AddressPort CheckedAddress(std::string_view address, bool v6) {
  if (address.empty()) return Refused("No address is given");
  if (address.size() > NetworkTarget::kAddressCapacity) {
    return Refused("The address is longer than " + std::to_string(NetworkTarget::kAddressCapacity) +
                   " characters");
  }
  const std::string neither =
      "\"" + std::string(address) + "\" is neither an address nor a host name";
  if (v6) return IsIpv6Text(address) ? AddressPort{std::string(address), {}, {}} : Refused(neither);
  const bool numeric =
      std::all_of(address.begin(), address.end(), [](char c) { return IsDigit(c) || c == '.'; });
  if (numeric) {
    if (!IsCompleteIPv4Text(address)) return Refused(neither);
    return {FormatIPv4(*TryParseIPv4(address)), {}, {}};
  }
  return IsHostName(address) ? AddressPort{std::string(address), {}, {}} : Refused(neither);
}

// The text cut at its port: "host:port", "[v6]:port"; more than one colon without brackets is a
// bare IPv6 address.
struct AddressParts {
  std::string_view address;
  std::optional<std::string_view> port;
  bool v6 = false;
  std::string error;
};

AddressParts SplitAddressPort(std::string_view text) {
  const auto colons = std::count(text.begin(), text.end(), ':');
  if (text.starts_with('[')) {
    const auto close = text.find(']');
    if (close == std::string_view::npos) return {{}, {}, true, "A '[' without its ']'"};
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') {
      return {{}, {}, true, "Text after ']' that is no :PORT"};
    }
    AddressParts parts{text.substr(1, close - 1), std::nullopt, true, {}};
    if (!rest.empty()) parts.port = rest.substr(1);
    return parts;
  }
  if (colons != 1) return {text, std::nullopt, colons > 1, {}};
  const auto colon = text.find(':');
  return {text.substr(0, colon), text.substr(colon + 1), false, {}};
}

}  // namespace

PortNumber ParsePort(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) {
    return {0, "'" + std::string(text) + "' is not a valid integer value"};
  }
  const std::string_view digits =
      text.substr(std::min(text.find_first_not_of('0'), text.size() - 1));
  int port = 0;
  // Six significant digits are past the highest port whatever they are.
  for (const char c : digits.substr(0, 6)) port = port * 10 + (c - '0');
  if (port < 1 || port > kHighestPort) {
    return {0, "Port " + std::string(digits) + " is not from 1 to 65535"};
  }
  return {port, {}};
}

AddressPort ParseAddressPort(std::string_view text) {
  const AddressParts parts = SplitAddressPort(text);
  if (!parts.error.empty()) return Refused(parts.error);
  AddressPort parsed = CheckedAddress(parts.address, parts.v6);
  if (!parsed.ok() || !parts.port) return parsed;
  const PortNumber port = ParsePort(*parts.port);
  if (!port.error.empty()) return Refused(port.error);
  parsed.port = port.port;
  return parsed;
}

AddressPort ParseAddress(std::string_view text) {
  const AddressParts parts = SplitAddressPort(text);
  if (!parts.error.empty()) return Refused(parts.error);
  if (parts.port) {
    return Refused("\"" + std::string(text) + "\" carries a port where only an address goes");
  }
  return CheckedAddress(parts.address, parts.v6);
}

}  // namespace vantrel
