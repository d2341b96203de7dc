#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "fonts/font_job.h"
#include "fonts/glyph_renderer.h"

namespace vantrel {

// What the user chose for one font, before the checks.
struct FontChoices {
  int encode = kStandardEncode;
  int pitch = kPitchVariable;
  // The Asian language chosen; the code page of the double-byte encodings follows it.
  int language = kLanguageTraditionalChinese;
  int first_code = 32;
  int last_code = 127;
  int cell_width = 0;
  int cell_height = 0;
  int italic_width = 0;
  std::string output_path = {};
};

// The job of the choices, or nothing when they cannot make a font: a code outside 0..255, a
// language outside 0..3, an empty table (no pair for a double-byte one), a negative or too
// large cell. `table` holds the table's code bytes and must outlive the job.
std::optional<FontJob> BuildFontJob(const FontChoices& choices,
                                    std::span<const std::uint8_t> table);

// The pitch the encoding starts with: fixed for the double-byte ones, else variable.
int StartPitch(int encode);
// The code page the encoding's codes are drawn in.
AnsiCodePage EncodingCodePage(int encode, int language);

// The cell a font proposes: the width and line height of "W" (single-byte encodings) or of
// the two-byte character E0 A2 of the encoding's code page, and three tenths of the width for
// an italic font.
struct FontCell {
  int width = 0;
  int height = 0;
  int italic_width = 0;
};
FontCell MeasureFontCell(GlyphRenderer& renderer, int encode, int language, bool italic);

}  // namespace vantrel
