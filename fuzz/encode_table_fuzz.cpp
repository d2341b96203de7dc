// Feeds arbitrary bytes to StripControlBytes and to the encode table reader, as memo text and as
// a table file: the kept bytes must be exactly the input's bytes of 32 or more before its first
// NUL, in order, and the table must never exceed its limit.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fonts/encode_table.h"

namespace {

std::vector<std::uint8_t> Expected(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> kept;
  for (std::size_t i = 0; i < size && data[i] != 0; ++i) {
    if (data[i] >= 32) kept.push_back(data[i]);
  }
  return kept;
}

std::string TableFile(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/encode_table_fuzz." + std::to_string(::getpid());
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> expected = Expected(data, size);
  std::vector<std::uint8_t> text(data, data + size);
  const std::size_t kept = vantrel::StripControlBytes(text);
  if (kept != expected.size() || !std::equal(expected.begin(), expected.end(), text.begin())) {
    __builtin_trap();
  }
  const std::string memo(reinterpret_cast<const char*>(data), size);
  if (vantrel::ReadEncodeTable({.by_file = false, .file_path = {}, .memo_bytes = memo}) !=
      expected) {
    __builtin_trap();
  }
  const auto from_file = vantrel::ReadEncodeTable(
      {.by_file = true, .file_path = TableFile(data, size), .memo_bytes = {}});
  if (from_file != expected) __builtin_trap();
  return 0;
}
