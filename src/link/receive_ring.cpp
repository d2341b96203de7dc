#include "link/receive_ring.h"

namespace vantrel {

std::size_t ReceiveRing::Append(std::span<const std::uint8_t> bytes) {
  std::size_t appended = 0;
  for (std::uint8_t byte : bytes) {
    if (count_ == kCapacity) break;
    bytes_[write_] = byte;
    write_ = (write_ + 1) % kCapacity;
    ++count_;
    ++appended;
  }
  return appended;
}

bool ReceiveRing::Take(std::uint8_t& byte) {
  if (count_ == 0) return false;
  byte = bytes_[read_];
  read_ = (read_ + 1) % kCapacity;
  --count_;
  return true;
}

}  // namespace vantrel
