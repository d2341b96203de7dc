#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// A host file read whole into memory, or why it could not be.
struct HostFile {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty when the whole file was read

  bool ok() const { return error.empty(); }
};

// Reads the file in one pass into one buffer of its size; nothing else is copied.
// A file that is not a regular file, shrinks while read or holds more than `max_bytes` fails.
HostFile ReadHostFile(const std::string& path, std::uint64_t max_bytes);

}  // namespace vantrel
