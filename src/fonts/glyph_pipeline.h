#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "common/ansi_code_page.h"
#include "fonts/glyph_renderer.h"

namespace vantrel {

// One glyph of a run, in file order.
struct GlyphRequest {
  std::uint16_t code = 0;
  bool double_byte = false;
  int cell_width = 0;
};

// A rendered glyph as the writers take it; `bytes` lives until the callback returns.
struct RenderedGlyph {
  int width = 0;
  int height = 0;
  bool missing = false;
  std::span<const std::uint8_t> bytes;
};

// Takes glyph `number`; false stops the run.
using GlyphSink = std::function<bool(std::size_t number, const RenderedGlyph& glyph)>;

// True asks the run to end; called before every glyph, from every thread of the run.
using CancelRequest = std::function<bool()>;

// Renders the requests on every core, one renderer per thread, each code drawn as the characters
// it stands for in `code_page`, and hands them to `sink` on the calling thread strictly in
// request order. False when a renderer could not be made, the sink stopped the run or
// `cancelled` (when given) asked it to end; no glyph reaches the sink after that.
bool RenderInOrder(const GlyphRendererFactory& factory, AnsiCodePage code_page, int pitch,
                   int cell_height, std::span<const GlyphRequest> requests, const GlyphSink& sink,
                   const CancelRequest& cancelled = {});

}  // namespace vantrel
