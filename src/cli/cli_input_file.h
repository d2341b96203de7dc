#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::cli {

// Reads a whole file, or standard input for "-", before anything is sent. False with the cause
// when it cannot be opened or read (a directory among them), or does not fit in one send or in
// memory; `bytes` is then empty.
bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& cause);

}  // namespace vantrel::cli
