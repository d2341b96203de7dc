#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/result_code.h"
#include "link/link_layer.h"

namespace vantrel {

// The record of operation 20: which printer file to send back, and room for what arrives.
struct LoadRequest {
  // The printer name travels in a 16-byte field with its NUL.
  static constexpr std::size_t kNameCapacity = 15;
  static constexpr std::size_t kDefaultCapacity = 262144;

  std::size_t capacity = kDefaultCapacity;
  std::string printer_name;
  std::vector<std::uint8_t> received;  // filled by the operation, never beyond capacity
  // The printer needs a moment after the wake-up line, and again before the command.
  std::chrono::milliseconds settle_pause{500};
  std::chrono::milliseconds command_pause{100};
};

// Operation 20: sends "\r\n", then LOAD with the quoted name, and stores the bytes that come
// back until the capacity is reached, a read wait passes without a byte or the printer closes
// its side. Receiving nothing (as on the parallel port) is success; a printer that resets or
// hangs up, or is still sending when the link's load_total passes, gives kResultReceivingError. An
// unsafe or too long name gives kResultUnknownError before the link is opened.
ResultCode LoadFile(LinkLayer& link, InterfaceKind interface, LoadRequest& request);

}  // namespace vantrel
