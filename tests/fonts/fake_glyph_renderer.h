#pragma once

#include <algorithm>
#include <atomic>
#include <memory>

#include "fonts/font_job.h"
#include "fonts/glyph_renderer.h"

namespace vantrel::testing {

// A renderer with known output: a glyph's text width is (code % 5) + 3, and every byte of its
// rows is the code's low byte, so a record shows which code it belongs to. A code without
// characters to draw (0x7F, one the code page leaves empty) is missing.
class FakeGlyphRenderer : public GlyphRenderer {
 public:
  static int TextWidth(std::uint16_t code) { return code % 5 + 3; }
  static constexpr int kLineHeight = 12;

  TextExtent MeasureText(std::u32string_view text) override {
    return {text.empty() ? 0 : TextWidth(static_cast<std::uint16_t>(text.back())), kLineHeight};
  }

  int RenderGlyph(GlyphCell& cell, std::span<std::uint8_t> out) override {
    cell.produced_width = cell.pitch == kPitchFixed ? cell.cell_width : TextWidth(cell.code);
    cell.produced_height = cell.cell_height;
    cell.missing = cell.text.empty();
    const int count = PackedGlyphBytes(cell.produced_width, cell.produced_height);
    std::fill_n(out.begin(), count, static_cast<std::uint8_t>(cell.code & 0xFF));
    return count;
  }
};

inline GlyphRendererFactory FakeFactory() {
  return [] { return std::make_unique<FakeGlyphRenderer>(); };
}

}  // namespace vantrel::testing
