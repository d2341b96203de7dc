#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/host_file.h"
#include "fonts/font_file_reader.h"

namespace vantrel {

// A one-bit image, rows packed most significant bit first, a set bit being ink.
struct InkImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;

  int row_bytes() const { return (width + 7) / 8; }
  void SetInk(int x, int y);
};

// Every stored glyph exactly as its bits are, in file order, in rows of `columns` cells with
// a one-pixel gap between them.
InkImage DrawContactSheet(std::span<const std::uint8_t> file, const StoredFont& font,
                          int columns = 32);

// Saves the image as a black-on-white PNG in place of `path` (ReplaceHostFile).
HostFileResult WriteInkPng(const InkImage& image, const std::string& path);

}  // namespace vantrel
