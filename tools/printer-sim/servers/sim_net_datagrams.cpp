#include "servers/sim_net_datagrams.h"

#include <algorithm>
#include <string_view>

namespace vantrel::sim {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kMacOffset = 22;
constexpr std::size_t kStateOffset = 40;
constexpr std::size_t kFlagsOffset = 41;
constexpr std::size_t kInUseOffset = 44;
constexpr std::size_t kModelOffset = 52;
constexpr std::size_t kModelSize = 32;
constexpr std::size_t kReplyNameOffset = 84;
constexpr std::size_t kGetItemOffset = 32;
constexpr std::size_t kSetItemOffset = 34;
constexpr std::size_t kIpOffset = 69;
constexpr std::size_t kMaskOffset = 73;
constexpr std::size_t kGatewayOffset = 77;
constexpr std::size_t kSetNameOffset = 176;
constexpr std::size_t kModeOffset = 942;
constexpr std::size_t kModeCompanionOffset = 948;
constexpr std::size_t kSettingsSize = 1064;
constexpr std::uint8_t kModeDhcp = 8;

std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return offset < bytes.size() ? bytes[offset] : 0;
}

template <std::size_t N>
std::array<std::uint8_t, N> BytesAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::array<std::uint8_t, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = ByteAt(bytes, offset + i);
  return out;
}

template <std::size_t N>
void Put(std::vector<std::uint8_t>& out, std::size_t offset, const std::array<std::uint8_t, N>& v) {
  std::copy(v.begin(), v.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The text at `offset`, cut at `room` bytes, with room left for its NUL by the caller.
void PutText(std::vector<std::uint8_t>& out, std::size_t offset, std::string_view text,
             std::size_t room) {
  const std::string_view kept = text.substr(0, room);
  std::copy(kept.begin(), kept.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The request's header with the answering printer's MAC, in a reply of `size` bytes.
std::vector<std::uint8_t> ReplyOf(const SimNetRequest& request, const SimNetState& net,
                                  std::size_t size) {
  std::vector<std::uint8_t> reply(size, 0);
  std::copy_n(request.bytes.begin(), kHeaderSize, reply.begin());
  Put(reply, kMacOffset, net.mac);
  return reply;
}

std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset >= bytes.size()) return {};
  const auto field = bytes.subspan(offset);
  return std::string(field.begin(), std::find(field.begin(), field.end(), std::uint8_t{0}));
}

}  // namespace

std::optional<SimNetRequest> ParseSimNetRequest(std::span<const std::uint8_t> datagram) {
  if (datagram.size() < kHeaderSize) return std::nullopt;
  SimNetRequest request;
  request.command_class = datagram[7];
  request.opcode = static_cast<std::uint16_t>(datagram[8] << 8 | datagram[9]);
  request.target = BytesAt<6>(datagram, kMacOffset);
  request.item = ByteAt(datagram, request.opcode == kSimOpGet ? kGetItemOffset : kSetItemOffset);
  request.bytes = datagram;
  return request;
}

std::vector<std::uint8_t> BuildSimDiscoveryReply(const SimNetRequest& request,
                                                 const SimNetState& net) {
  std::vector<std::uint8_t> reply = ReplyOf(request, net, kReplyNameOffset + net.name.size() + 1);
  reply[kStateOffset] = net.run_state;
  reply[kFlagsOffset] = net.error_flags;
  Put(reply, kInUseOffset, net.in_use);
  // A model name of the full 32 bytes has no NUL.
  PutText(reply, kModelOffset, net.model, kModelSize);
  PutText(reply, kReplyNameOffset, net.name, net.name.size());
  return reply;
}

std::vector<std::uint8_t> BuildSimSettingsReply(const SimNetRequest& request,
                                                const SimNetState& net) {
  std::vector<std::uint8_t> reply = ReplyOf(request, net, kSettingsSize);
  Put(reply, kIpOffset, net.dhcp ? net.in_use : net.ip);
  Put(reply, kMaskOffset, net.mask);
  Put(reply, kGatewayOffset, net.gateway);
  PutText(reply, kSetNameOffset, net.name, kModeOffset - kSetNameOffset - 1);
  reply[kModeOffset] = net.dhcp ? kModeDhcp : 1;
  reply[kModeCompanionOffset] = net.dhcp ? 4 : 1;
  return reply;
}

std::vector<std::uint8_t> BuildSimAcknowledgement(const SimNetRequest& request,
                                                  const SimNetState& net) {
  return ReplyOf(request, net, kHeaderSize);
}

void ApplySimSetItem(const SimNetRequest& request, SimNetState& pending) {
  const auto bytes = request.bytes;
  switch (request.item) {
    case kSimItemName:
      pending.name = TextAt(bytes.first(std::min(bytes.size(), kModeOffset)), kSetNameOffset);
      break;
    case kSimItemAddresses:
      pending.ip = BytesAt<4>(bytes, kIpOffset);
      pending.mask = BytesAt<4>(bytes, kMaskOffset);
      pending.gateway = BytesAt<4>(bytes, kGatewayOffset);
      break;
    case kSimItemMode:
      pending.dhcp = ByteAt(bytes, kModeOffset) == kModeDhcp;
      break;
    default:
      break;
  }
}

}  // namespace vantrel::sim
