#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrel {

// The bytes received on one link connection and not yet taken by a reader.
// Both indexes wrap at the end of the array; a byte is never taken twice.
class ReceiveRing {
 public:
  static constexpr std::size_t kCapacity = 65536;

  void Reset() { write_ = read_ = count_ = 0; }
  std::size_t count() const { return count_; }
  std::size_t free_space() const { return kCapacity - count_; }

  // Appends at most free_space() bytes; returns how many were appended.
  std::size_t Append(std::span<const std::uint8_t> bytes);
  bool Take(std::uint8_t& byte);

 private:
  std::array<std::uint8_t, kCapacity> bytes_{};
  std::size_t write_ = 0;
  std::size_t read_ = 0;
  std::size_t count_ = 0;
};

}  // namespace vantrel
