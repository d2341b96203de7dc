#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "common/failure.h"

namespace vantrel {

enum class HostFileError {
  kNone,
  kOpen,      // cannot be opened or created, is no regular file, or is write-protected
  kTooLarge,  // larger than the caller can take, or than memory can hold
  kRead,
  kWrite,  // the new file could not be written or put in place
};

// `detail` names the file, for a message or a detail line.
using HostFileResult = Failure<HostFileError>;

// A failure the system gave `error_number` for: "<what> <path>: <the system's reason>".
HostFileResult HostFileFailure(HostFileError code, std::string_view what,
                               const std::filesystem::path& path, int error_number);

// Reads a regular file whole. A file larger than `max_bytes` is refused before any byte is
// read; `bytes` is left empty on every failure.
HostFileResult ReadHostFile(const std::filesystem::path& path, std::size_t max_bytes,
                            std::vector<std::uint8_t>& bytes);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and renames it over
// `path` (through a symbolic link, to the file it points to). On any failure the temporary
// file is removed and an existing file stays as it was; a write-protected one is not replaced.
// An existing device node or FIFO is written in place instead: it is not a file to replace.
HostFileResult ReplaceHostFile(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes);

}  // namespace vantrel
