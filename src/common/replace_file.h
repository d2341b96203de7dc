#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vantrel {

enum class ReplaceFileStatus {
  kOk,
  kCannotCreate,  // the file is write-protected or nothing can be created beside it
  kWriteFailed,   // the new contents could not be written or put in place
};

struct ReplaceFileResult {
  ReplaceFileStatus status = ReplaceFileStatus::kOk;
  std::string cause;  // the system's reason, naming the file; empty when ok

  bool ok() const { return status == ReplaceFileStatus::kOk; }
};

// Writes the bytes to a temporary file beside `path`, flushes them to the disk and renames the
// file over `path`, so that a reader never sees a half-written file. On any failure the
// temporary file is removed and an existing file stays as it was. Through a symbolic link the
// file it points to is replaced; a replaced file keeps its permissions.
ReplaceFileResult ReplaceFileContents(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes);

}  // namespace vantrel
