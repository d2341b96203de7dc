#include "fonts/encode_table.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace vantrel {

std::size_t StripControlBytes(std::span<std::uint8_t> text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
    if (text[i] >= 32) text[kept++] = text[i];
  }
  if (kept < text.size()) text[kept] = 0;
  return kept;
}

bool ReadSmallFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.clear();
  // Read one byte past the limit so that a larger file is recognised without reading it all.
  std::istreambuf_iterator<char> in(file);
  for (const std::istreambuf_iterator<char> end; in != end && bytes.size() <= limit; ++in) {
    bytes.push_back(static_cast<std::uint8_t>(*in));
  }
  return !file.bad() && bytes.size() <= limit;
}

std::vector<std::uint8_t> ReadEncodeTable(const EncodeTableSource& source) {
  std::vector<std::uint8_t> bytes;
  if (source.by_file) {
    if (!ReadSmallFile(source.file_path, kMaxEncodeTableBytes, bytes)) return {};
  } else {
    if (source.memo_bytes.size() > kMaxEncodeTableBytes) return {};
    bytes.assign(source.memo_bytes.begin(), source.memo_bytes.end());
  }
  bytes.resize(StripControlBytes(bytes));
  return bytes;
}

}  // namespace vantrel
