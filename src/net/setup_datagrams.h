#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "net/ipv4_text.h"
#include "net/mac_text.h"
#include "net/net_command_header.h"

namespace vantrel {

inline constexpr std::size_t kGetRequestSize = kNetCommandHeaderSize + 2;
inline constexpr std::size_t kSetRequestSize = 1064;
// The printer name a set request carries, without its NUL.
inline constexpr std::size_t kSetNameCapacity = 63;

// The items of get and set requests.
enum NetSetupItem : std::uint8_t {
  kItemPrinterName = 0,
  kItemAddresses = 4,
  kItemAddressMode = 5,
  kItemClosing = 7,  // sent last, closing a set sequence
};

using DiscoveryRequest = std::array<std::uint8_t, kNetCommandHeaderSize>;
using FactoryDefaultRequest = std::array<std::uint8_t, kNetCommandHeaderSize>;
using GetRequest = std::array<std::uint8_t, kGetRequestSize>;

DiscoveryRequest BuildDiscoveryRequest(std::uint16_t sequence);
FactoryDefaultRequest BuildFactoryDefaultRequest(std::uint16_t sequence, const MacAddress& target);
GetRequest BuildGetRequest(std::uint16_t sequence, const MacAddress& target, NetSetupItem item);

// The four set requests of one Change IP, built one after the other in this one buffer: each
// request still carries the values written for the ones before it. Each call returns the whole
// 1064-byte request, valid until the next call.
class SetRequestBuffer {
 public:
  SetRequestBuffer(std::uint16_t sequence, const MacAddress& target);

  // The name is cut to kSetNameCapacity bytes.
  std::span<const std::uint8_t> NameRequest(std::string_view name);
  std::span<const std::uint8_t> AddressesRequest(const Ipv4Bytes& ip, const Ipv4Bytes& mask,
                                                 const Ipv4Bytes& gateway);
  std::span<const std::uint8_t> AddressModeRequest(bool dhcp);
  std::span<const std::uint8_t> ClosingRequest();

 private:
  std::span<const std::uint8_t> ForItem(NetSetupItem item);

  std::array<std::uint8_t, kSetRequestSize> bytes_{};
};

// What the answers to get items 4 and 5 carry.
struct AddressReply {
  Ipv4Bytes ip{};
  Ipv4Bytes mask{};
  Ipv4Bytes gateway{};
};
AddressReply DecodeAddressReply(std::span<const std::uint8_t> datagram);
bool DecodeDhcpReply(std::span<const std::uint8_t> datagram);

}  // namespace vantrel
