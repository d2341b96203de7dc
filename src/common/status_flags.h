#pragma once

#include <array>
#include <cstdint>

namespace vantrel {

// The printer's condition as operation 0 reads it; each flag is 0 or 1.
// 0..7 are the bits of the status byte; 8 ribbon encoder error, 9 ribbon end (from the detail
// reply).
struct StatusFlags {
  static constexpr std::size_t kCount = 10;
  std::array<std::uint8_t, kCount> flags{};
};

}  // namespace vantrel
