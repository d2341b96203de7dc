#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vantrel {

// Why a file could not be replaced: the step that failed, the file and the system's errno.
struct FileReplaceFailure {
  bool before_writing;  // the file could not be opened or created; nothing was written
  std::string what;     // "cannot write", "cannot create a file beside"
  std::filesystem::path path;
  int error;

  // "cannot write /path/name: Permission denied"
  std::string Text() const;
};

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and renames it over
// `path`, so that no reader ever sees half a file. Through a symbolic link the file it points
// to is replaced; a replaced file keeps its permissions, and a write-protected one is left
// alone. On any failure the temporary file is removed and an existing file stays as it was.
std::optional<FileReplaceFailure> ReplaceFileContents(const std::filesystem::path& path,
                                                      std::span<const std::uint8_t> bytes);

}  // namespace vantrel
