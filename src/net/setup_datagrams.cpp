#include "net/setup_datagrams.h"

#include <algorithm>

#include "net/datagram_format.h"
#include "net/received_datagram.h"

namespace vantrel {
namespace {

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
      std::span(bytes_).subspan(kSetupNameOffset, kSetNameCapacity + 1);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  const std::string_view kept = name.substr(0, kSetNameCapacity);
  std::copy(kept.begin(), kept.end(), field.begin());
  return ForItem(kItemPrinterName);
}

std::span<const std::uint8_t> SetRequestBuffer::AddressesRequest(const Ipv4Bytes& ip,
                                                                 const Ipv4Bytes& mask,
                                                                 const Ipv4Bytes& gateway) {
  PutAddress(bytes_, kSetupIpOffset, ip);
  PutAddress(bytes_, kSetupMaskOffset, mask);
  PutAddress(bytes_, kSetupGatewayOffset, gateway);
  return ForItem(kItemAddresses);
}

std::span<const std::uint8_t> SetRequestBuffer::AddressModeRequest(bool dhcp) {
  bytes_[kSetupModeOffset] = dhcp ? kModeDhcp : kModeStatic;
  bytes_[kSetupModeCompanionOffset] = dhcp ? kCompanionDhcp : kCompanionStatic;
  return ForItem(kItemAddressMode);
}

std::span<const std::uint8_t> SetRequestBuffer::ClosingRequest() {
  return ForItem(kItemClosing);
}

AddressReply DecodeAddressReply(std::span<const std::uint8_t> datagram) {
  const ReceivedDatagram reply(datagram);
  return {reply.Bytes<4>(kSetupIpOffset), reply.Bytes<4>(kSetupMaskOffset),
          reply.Bytes<4>(kSetupGatewayOffset)};
}

bool DecodeDhcpReply(std::span<const std::uint8_t> datagram) {
  return ReceivedDatagram(datagram).At(kSetupModeOffset) == kModeDhcp;
}

}  // namespace vantrel
