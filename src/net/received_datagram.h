#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantrel {

// A datagram as it arrived, read at fixed offsets. A reply may be shorter than the fields read
// from it: every byte past what arrived reads as zero.
class ReceivedDatagram {
 public:
  explicit ReceivedDatagram(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }

  std::uint8_t At(std::size_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }

  template <std::size_t N>
  std::array<std::uint8_t, N> Bytes(std::size_t offset) const {
    std::array<std::uint8_t, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = At(offset + i);
    return out;
  }

  // The text from `offset` up to its first NUL, at most `max_length` bytes.
  std::string Text(std::size_t offset, std::size_t max_length) const {
    if (offset >= bytes_.size()) return {};
    const auto field = bytes_.subspan(offset, std::min(max_length, bytes_.size() - offset));
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace vantrel
