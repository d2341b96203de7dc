#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrel {

// Network byte order, whatever the host's. Callers keep offset + 2 within the span; the span's
// own bounds are the backstop.
inline void PutU16BE(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace vantrel
