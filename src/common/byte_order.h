#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel {

// Explicit little- and big-endian fields of byte images, whatever the host's byte order.
// Callers keep offset + width within the span: std::span::operator[] checks nothing in a plain
// build. The dev and asan builds define _GLIBCXX_ASSERTIONS, which makes it abort on a stray index.

inline void PutU16LE(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint16_t GetU16LE(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline void PutU32LE(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

inline std::uint32_t GetU32LE(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return value;
}

inline void PutI32LE(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
  PutU32LE(bytes, offset, static_cast<std::uint32_t>(value));
}

inline std::int32_t GetI32LE(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(GetU32LE(bytes, offset));
}

inline void PutF32LE(std::span<std::uint8_t> bytes, std::size_t offset, float value) {
  PutU32LE(bytes, offset, std::bit_cast<std::uint32_t>(value));
}

inline float GetF32LE(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return std::bit_cast<float>(GetU32LE(bytes, offset));
}

// Network byte order.
inline void PutU16BE(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline void AppendU32BE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

}  // namespace vantrel
