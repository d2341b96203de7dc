#pragma once

#include <cstdint>
#include <vector>

namespace vantrel {

// An inclusive range of byte values.
struct ByteRange {
  std::uint8_t first;
  std::uint8_t last;
};

// The code space of a full Asian font of one language: its single-byte codes, then every
// lead byte (outer) with every trail byte (inner), all ascending. A few values outside the
// code page's own ranges belong to the printer's table all the same.
struct AsianCodeSpace {
  std::vector<ByteRange> single_bytes;
  std::vector<ByteRange> lead_bytes;
  std::vector<ByteRange> trail_bytes;
  // Progress after lead byte L: (L - progress_base) * 100 / progress_span.
  int progress_base;
  int progress_span;
};

// The code space of language 0..3; the caller checks the language.
const AsianCodeSpace& AsianCodeSpaceOf(int language);

// The glyphs of a full font: single bytes plus leads x trails.
int AsianGlyphCount(const AsianCodeSpace& space);
int AsianProgressAfterLead(const AsianCodeSpace& space, int lead);

// Every byte of the ranges, in order.
std::vector<std::uint8_t> ExpandRanges(const std::vector<ByteRange>& ranges);

}  // namespace vantrel
