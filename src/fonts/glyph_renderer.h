#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// One glyph to draw: the inputs, and what RenderGlyph produced.
struct GlyphCell {
  int pitch = 0;
  int cell_width = 0;
  int cell_height = 0;
  // A single-byte code, or lead byte * 256 + trail byte.
  std::uint16_t code = 0;
  // The characters the code stands for in the font's code page; empty: nothing to draw.
  std::u32string text = {};
  int produced_width = 0;
  int produced_height = 0;
  // The code page leaves the code empty, or the font has no glyph for it: drawn empty.
  bool missing = false;
};

// The text's advance width and the font's line height, in pixels.
struct TextExtent {
  int width = 0;
  int height = 0;
};

// Draws texts of one or two characters in one chosen font. One instance serves one thread.
class GlyphRenderer {
 public:
  virtual ~GlyphRenderer() = default;
  virtual TextExtent MeasureText(std::u32string_view text) = 0;
  // Centres the text in the cell (fixed pitch) or takes its width (variable pitch), packs
  // the rows most significant bit first into `out` and returns the byte count. `out` holds at
  // least PackedGlyphBytes(max(cell width, text width), cell height) bytes.
  virtual int RenderGlyph(GlyphCell& cell, std::span<std::uint8_t> out) = 0;
};

// Makes one renderer per rendering thread; null when the font cannot be opened.
using GlyphRendererFactory = std::function<std::unique_ptr<GlyphRenderer>()>;

}  // namespace vantrel
