#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::cli {

// The largest block one send carries: byte counts on the link are 32-bit.
inline constexpr std::uint64_t kMaxSendBytes = 0xFFFFFFFFu;

// Reads a whole file, or standard input for "-", before anything is sent. False with the cause
// when it cannot be opened or read (a directory among them), or does not fit in one send or in
// memory; `bytes` is then empty.
bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& cause);

}  // namespace vantrel::cli
