#include "fonts/encode_table.h"

#include <algorithm>

namespace vantrel {

std::size_t StripControlBytes(std::span<std::uint8_t> text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
    if (text[i] >= 32) text[kept++] = text[i];
  }
  if (kept < text.size()) text[kept] = 0;
  return kept;
}

std::vector<std::uint8_t> ReadEncodeTable(const EncodeTableSource& source,
                                          HostFileResult* file_read) {
  std::vector<std::uint8_t> bytes;
  if (source.by_file) {
    const HostFileResult read = ReadHostFile(source.file_path, kMaxEncodeTableBytes, bytes);
    if (file_read != nullptr) *file_read = read;
    if (!read.ok()) return {};
  } else {
    if (source.memo_bytes.size() > kMaxEncodeTableBytes) return {};
    bytes.assign(source.memo_bytes.begin(), source.memo_bytes.end());
  }
  bytes.resize(StripControlBytes(bytes));
  return bytes;
}

}  // namespace vantrel
