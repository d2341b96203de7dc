#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/progress.h"
#include "fonts/font_job.h"
#include "fonts/glyph_renderer.h"

namespace vantrel {

inline constexpr std::string_view kFontProgressCaption = "Making font...";

// What a run made: its glyphs, and the codes drawn empty for want of a character. A run that
// could not write its file says why instead, for a detail line.
struct FontReport {
  int glyphs = 0;
  std::vector<std::uint16_t> missing_codes;
  std::string failure;
};

// Each writer returns false, and leaves any existing output file as it was, when the job does
// not suit it, the file cannot be written, or a renderer cannot be made. `progress` may be null.
bool WriteSingleByteFont(const FontJob& job, const GlyphRendererFactory& factory,
                         Progress* progress, FontReport* report = nullptr);
bool WriteAsianFont(const FontJob& job, const GlyphRendererFactory& factory, Progress* progress,
                    FontReport* report = nullptr);
bool WriteAsianTableFont(const FontJob& job, const GlyphRendererFactory& factory,
                         Progress* progress, FontReport* report = nullptr);

// Chooses the writer by the double-byte and index flags, inside the "Making font..." progress.
bool MakeBitmapFont(const FontJob& job, const GlyphRendererFactory& factory, Progress* progress,
                    FontReport* report = nullptr);

}  // namespace vantrel
