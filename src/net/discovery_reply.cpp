#include "net/discovery_reply.h"

#include <array>

#include "net/datagram_format.h"
#include "net/ipv4_text.h"
#include "net/mac_text.h"
#include "net/net_command_header.h"
#include "net/received_datagram.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kStatePrinting = 1;
constexpr std::uint8_t kStatePaused = 2;
constexpr std::uint8_t kStateError = 3;

struct ErrorRule {
  std::uint8_t bits;
  std::string_view word;
};

// Checked in this order: the first flag that is set names the error.
constexpr std::array<ErrorRule, 6> kErrorRules = {{
    {0x01, "Carriage Open"},
    {0x40 | 0x80, "Over Heat"},
    {0x02, "Paper Jam"},
    {0x04, "Paper Empty"},
    {0x08 | 0x10, "Ribbon Error"},
    {0x20, "Cutter Error"},
}};

}  // namespace

std::string_view StatusWord(std::uint8_t state, std::uint8_t error_flags) {
  switch (state) {
    case kStatePrinting:
      return "Printing";
    case kStatePaused:
      return "Pause";
    case kStateError:
      for (const ErrorRule& rule : kErrorRules) {
        if ((error_flags & rule.bits) != 0) return rule.word;
      }
      return "Error";
    default:
      return "Ready";
  }
}

std::optional<DeviceListRow> DecodeDiscoveryReply(std::span<const std::uint8_t> datagram) {
  if (datagram.size() < kNetCommandHeaderSize) return std::nullopt;
  const ReceivedDatagram reply(datagram);
  return DeviceListRow{
      reply.Text(kReplyNameOffset, reply.size()),
      FormatMacText(reply.Bytes<6>(kReplyMacOffset)),
      FormatIPv4(reply.Bytes<4>(kReplyAddressOffset)),
      reply.Text(kReplyModelOffset, kReplyModelSize),
      std::string(StatusWord(reply.At(kReplyStateOffset), reply.At(kReplyErrorFlagsOffset))),
  };
}

}  // namespace vantrel
