#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/failure.h"
#include "common/file_system_calls.h"
#include "common/unique_fd.h"

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

// Every host file the tool reads goes through these readers. A named path must be a regular
// file: a folder, FIFO or device is refused at once, without waiting on it and without reading.

// Reads a regular file whole. A file larger than `max_bytes` is refused before any byte is
// read; `bytes` is left empty on every failure.
HostFileResult ReadHostFile(const std::filesystem::path& path, std::size_t max_bytes,
                            std::vector<std::uint8_t>& bytes);

// Whether `path` is a regular file of at most `max_bytes` that opens for reading; reads nothing.
HostFileResult CheckHostFile(const std::filesystem::path& path, std::size_t max_bytes);

// Reads at most the first `max_bytes` of a regular file; the rest of a longer file is not read.
HostFileResult ReadHostFileHead(const std::filesystem::path& path, std::size_t max_bytes,
                                std::vector<std::uint8_t>& bytes);

// Reads standard input to its end: a pipe, a terminal or a redirected file. More than
// `max_bytes` is refused as soon as it has come; a device other than a terminal is refused at
// once, as a named one is.
HostFileResult ReadStandardInput(std::size_t max_bytes, std::vector<std::uint8_t>& bytes);

// A short text file of the system, such as one under /proc or /sys, whole; nothing when it
// cannot be read or is longer than a page of text.
std::optional<std::string> ReadShortTextFile(const std::filesystem::path& path);

// Writes a file in pieces beside its target and puts it in place only when complete: fsync,
// then rename over the target (through a symbolic link, over the file it points to), or, for
// a new file written unnamed, link it under the target's name. Until Commit the target is
// untouched; a writer destroyed uncommitted, or a process killed while writing, leaves no
// temporary file where the file system can create it unnamed, and the next save that replaces
// the target removes one left where it cannot. A device node or FIFO is no file to
// replace: it is written in place, at Commit, once the bytes are complete. A folder, or a
// write-protected file, is refused at once.
class HostFileWriter {
 public:
  explicit HostFileWriter(const std::filesystem::path& path, FileSystemCalls calls = {});
  ~HostFileWriter();
  HostFileWriter(const HostFileWriter&) = delete;
  HostFileWriter& operator=(const HostFileWriter&) = delete;

  // False once anything failed; later writes then do nothing.
  bool ok() const { return failure_.ok(); }
  bool Write(std::span<const std::uint8_t> bytes);
  // Overwrites bytes already written, at `offset` from the start of the file.
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // Puts the file in place (flushed to the disk and renamed over the target, or written into
  // the device); returns the first failure.
  HostFileResult Commit();

 private:
  void CreateTempBeside();
  // The end of a Commit that gave the unnamed file the target's name.
  HostFileResult PlacedUnnamed();
  bool Failed(HostFileError code, std::string_view what, int error_number);

  FileSystemCalls calls_;
  std::filesystem::path target_;
  UniqueFd fd_;
  std::filesystem::path temp_path_;  // empty while the file has no name
  // The bytes for a device or FIFO, held until Commit.
  std::optional<std::vector<std::uint8_t>> in_place_;
  HostFileResult failure_;
};

// Writes `bytes` in place of `path` with HostFileWriter's rules.
HostFileResult ReplaceHostFile(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes);

}  // namespace vantrel
