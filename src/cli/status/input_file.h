#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/common/context.h"
#include "common/host_file.h"

namespace vantrel::cli {

// Reads a whole file, or standard input for "-", before anything is sent, up to what one send
// can carry. Fails when it cannot be opened or read, is no regular file (standard input may be
// anything), or is larger; `bytes` is then empty.
HostFileResult ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Sends the input file's bytes unchanged (operation 12); one that cannot be read is 4, unsent.
int SendInputFile(CliContext& context, const std::string& path);

}  // namespace vantrel::cli
