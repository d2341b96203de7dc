#pragma once

#include <memory>

#include "fonts/glyph_renderer.h"
#include "fonts/installed_font.h"

namespace vantrel {

// Renderers that draw texts in the installed font with FreeType, anti-aliased, every pixel with
// any coverage counted as ink. Each call of the factory opens the font anew,
// so each thread has its own library and face; null when the font file cannot be opened.
GlyphRendererFactory FreeTypeRendererFactory(const FontRequest& wanted, const InstalledFont& font);

// The widest glyph a variable-pitch font may produce in a cell of `height` rows.
int MaxProducedWidth(int height);

}  // namespace vantrel
