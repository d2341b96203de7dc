#include "net/setup_datagrams.h"

#include <algorithm>

#include "net/received_datagram.h"

namespace vantrel {
namespace {

constexpr std::size_t kGetItemOffset = 32;
constexpr std::size_t kSetItemOffset = 34;
constexpr std::size_t kIpOffset = 69;
constexpr std::size_t kMaskOffset = 73;
constexpr std::size_t kGatewayOffset = 77;
constexpr std::size_t kNameOffset = 176;
constexpr std::size_t kModeOffset = 942;
constexpr std::size_t kModeCompanionOffset = 948;

constexpr std::uint8_t kModeDhcp = 8;
constexpr std::uint8_t kCompanionDhcp = 4;
constexpr std::uint8_t kModeStatic = 1;
constexpr std::uint8_t kCompanionStatic = 1;

template <std::size_t N>
std::array<std::uint8_t, N> HeaderOnly(const NetCommandHeader& header) {
  std::array<std::uint8_t, N> bytes{};
  WriteNetCommandHeader(header, std::span(bytes).template first<kNetCommandHeaderSize>());
  return bytes;
}

NetCommandHeader SetupHeader(NetOpcode opcode, std::uint16_t payload_length, std::uint16_t sequence,
                             const MacAddress& target) {
  return {kNetClassSetup, opcode, payload_length, sequence, target};
}

void PutAddress(std::span<std::uint8_t> bytes, std::size_t offset, const Ipv4Bytes& address) {
  std::copy(address.begin(), address.end(), bytes.subspan(offset, address.size()).begin());
}

}  // namespace

DiscoveryRequest BuildDiscoveryRequest(std::uint16_t sequence) {
  return HeaderOnly<kNetCommandHeaderSize>(
      {kNetClassDiscovery, kNetOpDiscover, 0, sequence, kEveryPrinter});
}

FactoryDefaultRequest BuildFactoryDefaultRequest(std::uint16_t sequence, const MacAddress& target) {
  return HeaderOnly<kNetCommandHeaderSize>(SetupHeader(kNetOpFactoryDefault, 0, sequence, target));
}

GetRequest BuildGetRequest(std::uint16_t sequence, const MacAddress& target, NetSetupItem item) {
  GetRequest bytes = HeaderOnly<kGetRequestSize>(
      SetupHeader(kNetOpGet, kGetRequestSize - kNetCommandHeaderSize, sequence, target));
  bytes[kGetItemOffset] = item;
  return bytes;
}

SetRequestBuffer::SetRequestBuffer(std::uint16_t sequence, const MacAddress& target)
    : bytes_(HeaderOnly<kSetRequestSize>(
          SetupHeader(kNetOpSet, kSetRequestSize - kNetCommandHeaderSize, sequence, target))) {}

std::span<const std::uint8_t> SetRequestBuffer::ForItem(NetSetupItem item) {
  bytes_[kSetItemOffset] = item;
  return bytes_;
}

std::span<const std::uint8_t> SetRequestBuffer::NameRequest(std::string_view name) {
  const std::span<std::uint8_t> field =
      std::span(bytes_).subspan(kNameOffset, kSetNameCapacity + 1);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  const std::string_view kept = name.substr(0, kSetNameCapacity);
  std::copy(kept.begin(), kept.end(), field.begin());
  return ForItem(kItemPrinterName);
}

std::span<const std::uint8_t> SetRequestBuffer::AddressesRequest(const Ipv4Bytes& ip,
                                                                 const Ipv4Bytes& mask,
                                                                 const Ipv4Bytes& gateway) {
  PutAddress(bytes_, kIpOffset, ip);
  PutAddress(bytes_, kMaskOffset, mask);
  PutAddress(bytes_, kGatewayOffset, gateway);
  return ForItem(kItemAddresses);
}

std::span<const std::uint8_t> SetRequestBuffer::AddressModeRequest(bool dhcp) {
  bytes_[kModeOffset] = dhcp ? kModeDhcp : kModeStatic;
  bytes_[kModeCompanionOffset] = dhcp ? kCompanionDhcp : kCompanionStatic;
  return ForItem(kItemAddressMode);
}

std::span<const std::uint8_t> SetRequestBuffer::ClosingRequest() {
  return ForItem(kItemClosing);
}

AddressReply DecodeAddressReply(std::span<const std::uint8_t> datagram) {
  const ReceivedDatagram reply(datagram);
  return {reply.Bytes<4>(kIpOffset), reply.Bytes<4>(kMaskOffset), reply.Bytes<4>(kGatewayOffset)};
}

bool DecodeDhcpReply(std::span<const std::uint8_t> datagram) {
  return ReceivedDatagram(datagram).At(kModeOffset) == kModeDhcp;
}

}  // namespace vantrel
