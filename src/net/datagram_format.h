#pragma once

#include <cstddef>

namespace vantrel {

// Where each field sits in the discovery and setup datagrams, counted from the first byte.

// The 32-byte request header; numbers are big-endian 16-bit words.
inline constexpr std::size_t kNetCommandHeaderSize = 32;
inline constexpr std::size_t kHeaderLengthOffset = 0;
inline constexpr std::size_t kHeaderFirstConstantOffset = 2;
inline constexpr std::size_t kHeaderSecondConstantOffset = 4;
inline constexpr std::size_t kHeaderConstantByteOffset = 6;
inline constexpr std::size_t kHeaderClassOffset = 7;
inline constexpr std::size_t kHeaderOpcodeOffset = 8;
inline constexpr std::size_t kHeaderPayloadLengthOffset = 10;
inline constexpr std::size_t kHeaderSequenceOffset = 12;
inline constexpr std::size_t kHeaderSourceTagOffset = 16;
inline constexpr std::size_t kHeaderTargetOffset = 22;

// A discovery reply.
inline constexpr std::size_t kReplyMacOffset = 22;
inline constexpr std::size_t kReplyStateOffset = 40;
inline constexpr std::size_t kReplyErrorFlagsOffset = 41;
inline constexpr std::size_t kReplyAddressOffset = 44;
inline constexpr std::size_t kReplyModelOffset = 52;
inline constexpr std::size_t kReplyModelSize = 32;
inline constexpr std::size_t kReplyNameOffset = kReplyModelOffset + kReplyModelSize;

// Get and set requests, and the settings a get answers with.
inline constexpr std::size_t kGetItemOffset = 32;
inline constexpr std::size_t kSetItemOffset = 34;
inline constexpr std::size_t kSetupIpOffset = 69;
inline constexpr std::size_t kSetupMaskOffset = 73;
inline constexpr std::size_t kSetupGatewayOffset = 77;
inline constexpr std::size_t kSetupNameOffset = 176;
inline constexpr std::size_t kSetupModeOffset = 942;
inline constexpr std::size_t kSetupModeCompanionOffset = 948;

}  // namespace vantrel
