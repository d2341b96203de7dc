// Feeds arbitrary bytes to the bitmap font reader behind "font show", as a user may open any
// file with it. Whatever it accepts must stay inside the file, and its contact sheet must draw.
#include <cstdint>
#include <span>

#include "fonts/font_contact_sheet.h"
#include "fonts/font_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  vantrel::StoredFont font;
  if (!vantrel::ReadBitmapFont(file, font).empty()) return 0;
  for (const vantrel::StoredGlyph& glyph : font.glyphs) {
    const auto rows = static_cast<std::size_t>((glyph.width + 7) / 8 * glyph.height);
    if (glyph.rows_offset + rows > size) __builtin_trap();
  }
  // The sheet of a huge accepted font is large; a small one is enough to walk every glyph.
  if (font.glyphs.size() <= 512) vantrel::DrawContactSheet(file, font);
  return 0;
}
