#include "net/net_command_header.h"

#include <algorithm>

#include "net/big_endian.h"

namespace vantrel {
namespace {

// The constant fields; their meaning is the printer's, and they are sent exactly so.
constexpr std::uint16_t kConstantWord = 1;
constexpr std::uint8_t kConstantByte = 8;
constexpr std::array<std::uint8_t, 6> kSourceTag = {0x01, 0, 0, 0, 0, 0};

constexpr std::size_t kTargetOffset = 22;

}  // namespace

void WriteNetCommandHeader(const NetCommandHeader& header,
                           std::span<std::uint8_t, kNetCommandHeaderSize> out) {
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  PutU16BE(out, 0, static_cast<std::uint16_t>(kNetCommandHeaderSize));
  PutU16BE(out, 2, kConstantWord);
  PutU16BE(out, 4, kConstantWord);
  out[6] = kConstantByte;
  out[7] = header.command_class;
  PutU16BE(out, 8, header.opcode);
  PutU16BE(out, 10, header.payload_length);
  PutU16BE(out, 12, header.sequence);
  std::copy(kSourceTag.begin(), kSourceTag.end(), out.begin() + 16);
  std::copy(header.target.begin(), header.target.end(), out.begin() + kTargetOffset);
}

}  // namespace vantrel
