#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/host_file.h"

namespace vantrel {

// A table longer than this is refused: the printer's table buffer holds 65,536 bytes with its NUL.
inline constexpr std::size_t kMaxEncodeTableBytes = 65535;

// Drops the bytes below 32 from the text up to its first NUL (or the span's end), moving the
// kept bytes down; puts a NUL after them when there is room. Returns how many were kept.
std::size_t StripControlBytes(std::span<std::uint8_t> text);

// Where an encode table comes from: the file last loaded ("By File") or the memo's bytes in
// the code page the user types in.
struct EncodeTableSource {
  bool by_file = false;
  std::string file_path = {};
  std::string memo_bytes = {};
};

// The table's code bytes, read afresh (a table file is read again on every run); empty when
// there is no usable table: nothing of 32 or more, a file that cannot be read or is too large, a
// long memo. `file_read`, when given, tells why a table file gave nothing.
std::vector<std::uint8_t> ReadEncodeTable(const EncodeTableSource& source,
                                          HostFileResult* file_read = nullptr);

}  // namespace vantrel
