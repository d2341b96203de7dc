#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "net/datagram_format.h"
#include "net/mac_text.h"

namespace vantrel {

// Every printer at once: the target of a discovery request.
inline constexpr MacAddress kEveryPrinter = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

enum NetCommandClass : std::uint8_t {
  kNetClassDiscovery = 0,
  kNetClassSetup = 2,  // factory default, get and set
};

enum NetOpcode : std::uint16_t {
  kNetOpFactoryDefault = 1,
  kNetOpDiscover = 2,
  kNetOpGet = 3,
  kNetOpSet = 4,
};

// The 32 bytes at the start of every request; the constant bytes are not represented.
struct NetCommandHeader {
  NetCommandClass command_class = kNetClassDiscovery;
  NetOpcode opcode = kNetOpDiscover;
  std::uint16_t payload_length = 0;  // bytes after the header
  std::uint16_t sequence = 0;
  MacAddress target = kEveryPrinter;
};

// Writes the header field by field, numbers big-endian.
void WriteNetCommandHeader(const NetCommandHeader& header,
                           std::span<std::uint8_t, kNetCommandHeaderSize> out);

}  // namespace vantrel
