#include "net/net_command_header.h"

#include <algorithm>

#include "common/byte_order.h"

namespace vantrel {
namespace {

// The constant fields; their meaning is the printer's, and they are sent exactly so.
constexpr std::uint16_t kConstantWord = 1;
constexpr std::uint8_t kConstantByte = 8;
constexpr std::array<std::uint8_t, 6> kSourceTag = {0x01, 0, 0, 0, 0, 0};

}  // namespace

void WriteNetCommandHeader(const NetCommandHeader& header,
                           std::span<std::uint8_t, kNetCommandHeaderSize> out) {
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  PutU16BE(out, kHeaderLengthOffset, static_cast<std::uint16_t>(kNetCommandHeaderSize));
  PutU16BE(out, kHeaderFirstConstantOffset, kConstantWord);
  PutU16BE(out, kHeaderSecondConstantOffset, kConstantWord);
  out[kHeaderConstantByteOffset] = kConstantByte;
  out[kHeaderClassOffset] = header.command_class;
  PutU16BE(out, kHeaderOpcodeOffset, header.opcode);
  PutU16BE(out, kHeaderPayloadLengthOffset, header.payload_length);
  PutU16BE(out, kHeaderSequenceOffset, header.sequence);
  std::copy(kSourceTag.begin(), kSourceTag.end(), out.begin() + kHeaderSourceTagOffset);
  std::copy(header.target.begin(), header.target.end(), out.begin() + kHeaderTargetOffset);
}

}  // namespace vantrel
