#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// The header fields of a bitmap font file, as stored.
struct StoredFontHeader {
  int pitch = 0;
  bool double_byte = false;
  bool index = false;
  bool italic = false;
  int cell_height = 0;
  int cell_width = 0;
  int first_code = 0;
  int last_code = 0;
  std::uint8_t language = 0;
  int glyph_count = 0;
  int italic_width = 0;
};

// One glyph record: its code, its size, and where its packed rows start in the file.
struct StoredGlyph {
  std::uint16_t code = 0;
  bool double_byte = false;
  int width = 0;
  int height = 0;
  std::size_t rows_offset = 0;
};

struct StoredFont {
  StoredFontHeader header;
  std::vector<StoredGlyph> glyphs;
};

// Checks a whole bitmap font file: magic and flags, index entries inside the file, offsets
// increasing, every record of the size its width and the cell height give, nothing left over.
// Returns the empty text on success, else what is wrong; `font` is filled as far as it got.
std::string ReadBitmapFont(std::span<const std::uint8_t> file, StoredFont& font);

}  // namespace vantrel
