#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

enum class HostFileError {
  kNone,
  kOpen,      // cannot be opened or is no regular file
  kTooLarge,  // larger than the caller can take, or than memory can hold
  kRead,
};

struct HostFileResult {
  HostFileError error = HostFileError::kNone;
  std::string cause;  // the reason, naming the file, for a message or a detail line

  bool ok() const { return error == HostFileError::kNone; }
};

// Reads a regular file whole. A file larger than `max_bytes` is refused before any byte is
// read; `bytes` is left empty on every failure.
HostFileResult ReadHostFile(const std::filesystem::path& path, std::size_t max_bytes,
                            std::vector<std::uint8_t>& bytes);

}  // namespace vantrel
