#pragma once

#include <cstdint>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/operation_record.h"

namespace vantrel {

// The largest raw block one send takes: a send's byte count is unsigned 32-bit in the
// command set this tool serves, however much the link layer itself could carry.
inline constexpr std::uint64_t kMaxRawBlockBytes = 0xFFFFFFFFu;

// Sends the bytes unchanged, with the progress window in percent mode. Nothing is read back.
ResultCode SendRawBlock(LinkLayer& link, InterfaceKind interface, RawBlock block);

// Writes the bytes on the open link inside a progress window in percent mode.
ResultCode SendWithPercentProgress(LinkLayer& link, std::span<const std::uint8_t> bytes);

}  // namespace vantrel
