#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The printer's own network settings, as the Ethernet settings dialog edits them and as both
// the command language (operations 16 to 18) and the setup datagrams read and write them.
// Member names are the record's own field names; they are also the JSON keys of the CLI.
struct NetSettings {
  // Each text holds at most this many bytes.
  static constexpr std::size_t kTextCapacity = 63;

  std::uint8_t AddressMode = 0;  // 1: the printer obtains its address by DHCP; 0: static
  std::string IpAddress;         // configured static address
  std::string SubnetMask;
  std::string Gateway;
  std::string LastUsedIp;  // the address in use now (for DHCP, the one it was given)
  std::string PrinterName;
  std::string MacText;         // shown only
  std::int32_t SetKind = 0;    // what the user asked to set: 0 the IP settings, 1 the name
  std::uint8_t Confirmed = 0;  // 1 when the dialog was left with one of its Set buttons
};

inline constexpr std::uint8_t kAddressModeStatic = 0;
inline constexpr std::uint8_t kAddressModeDhcp = 1;

// Stores a received or typed text into a field, cut to kTextCapacity bytes.
void StoreNetText(std::string& field, std::string_view text);

// Why a text cannot be sent as a field of these settings, or empty when it can: it must fit its
// field, and a double quote or a control character would end a quoted command early.
std::string FieldTextRefusal(std::string_view label, std::string_view text);

// Why one address cannot be sent, or empty: it must be a complete dotted-decimal IPv4 address.
// Otherwise a printer would be given FF FF FF FF or a stray text.
std::string AddressTextRefusal(std::string_view label, std::string_view text);

// The first refusal of the three addresses, or empty.
std::string AddressTextsRefusal(const NetSettings& settings);

}  // namespace vantrel
