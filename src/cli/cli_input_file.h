#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/host_file.h"

namespace vantrel::cli {

// Reads a whole file, or standard input for "-", before anything is sent. Fails when it cannot
// be opened or read (a directory among them), or does not fit in one send or in memory; `bytes`
// is then empty.
HostFileResult ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace vantrel::cli
