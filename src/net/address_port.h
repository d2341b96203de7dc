#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// A network printer's place as typed in a field, an option or a hosts file line. `error` is the
// text to show when the typed text is refused; the other fields are then unset.
struct AddressPort {
  std::string address;      // without brackets; a dotted IPv4 address in its plain spelling
  std::optional<int> port;  // when the text carried one
  std::string error;

  bool ok() const { return error.empty(); }
};

// "host", "host:port", "[v6]", "[v6]:port" or a bare IPv6 address (two colons or more). A host
// is a dotted decimal IPv4 address or a host name (dot-separated labels of letters, digits and
// inner hyphens); an IPv6 address may carry a scope ("%eth0"). Nothing is trimmed.
AddressPort ParseAddressPort(std::string_view text);

// The same forms without a port, for a field or an option where the port is given apart.
AddressPort ParseAddress(std::string_view text);

// A TCP port: decimal digits only (leading zeros read as decimal), from 1 to 65535.
struct PortNumber {
  int port = 0;
  std::string error;
};
PortNumber ParsePort(std::string_view text);

}  // namespace vantrel
