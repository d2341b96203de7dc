#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::sim {

using SimIpv4 = std::array<std::uint8_t, 4>;
using SimMac = std::array<std::uint8_t, 6>;

// A printer's network side: what the NET commands and the network report questions change and
// read over TCP, and what its discovery and setup datagrams carry.
struct SimNetState {
  SimMac mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x5A};
  bool dhcp = false;
  SimIpv4 ip = {127, 0, 0, 1};  // the configured static address
  SimIpv4 mask = {255, 0, 0, 0};
  SimIpv4 gateway = {0, 0, 0, 0};
  SimIpv4 in_use = {127, 0, 0, 1};  // the address it answers with; DHCP's when on DHCP
  std::string name = "SIM-PRINTER";
  std::string model = "VT-SIM 203";
  std::uint8_t run_state = 0;    // 1 printing, 2 paused, 3 error, other ready
  std::uint8_t error_flags = 0;  // read with run_state 3
  // An older printer knows neither question and leaves them unanswered.
  bool answers_name_question = true;
  bool answers_mac_question = true;

  bool operator==(const SimNetState&) const = default;
};

// Strict dotted decimal, as the printer's own firmware reads an address.
std::optional<SimIpv4> ParseSimIpv4(std::string_view text);
std::string SimIpv4Text(const SimIpv4& address);
// "02:11:22:33:44:5A", either case when parsed.
std::optional<SimMac> ParseSimMac(std::string_view text);
std::string SimMacText(const SimMac& mac);

// The address or MAC `offset` further on, carrying over from byte to byte and wrapping at the end.
SimIpv4 SimIpv4Plus(const SimIpv4& address, std::uint64_t offset);
SimMac SimMacPlus(const SimMac& mac, std::uint64_t offset);

}  // namespace vantrel::sim
