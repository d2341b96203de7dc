#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/ansi_code_page.h"

namespace vantrel {

// The item order of the Font Encode box.
enum FontEncode : int {
  kStandardEncode = 0,
  kAsianFontEncode = 1,
  kEncodeByTable = 2,
  kEncodeByTableAsian = 3,
};

// The item order of the Asian Font Encode group; the header letters are T, G, K, J.
enum AsianLanguage : int {
  kLanguageTraditionalChinese = 0,
  kLanguageSimplifiedChinese = 1,
  kLanguageKorean = 2,
  kLanguageJapanese = 3,
};
inline constexpr int kAsianLanguageCount = 4;
// Written for encodings that carry no language: the header's language byte stays 0.
inline constexpr int kNoLanguage = -1;

inline constexpr int kPitchFixed = 0;
inline constexpr int kPitchVariable = 1;

// The largest cell: the side of the old work image and the size of one glyph's buffer.
inline constexpr int kMaxCellSide = 2048;
inline constexpr int kMaxGlyphBytes = 65536;

// The parameters of one font-making run, built afresh for every run.
struct FontJob {
  bool double_byte = false;
  int pitch = kPitchVariable;
  int language = kNoLanguage;
  int first_code = 0;
  int last_code = 0;
  int cell_width = 0;
  int cell_height = 0;
  int italic_width = 0;
  // Set by the writers; a full Asian font leaves it 0, the printer counts its glyphs itself.
  int glyph_count = 0;
  bool index = false;
  // The encode table's code bytes (single bytes, or lead and trail pairs); empty: none.
  std::span<const std::uint8_t> table;
  int table_count = 0;
  std::string output_path;
  // Which code page turns the codes into characters for the renderer.
  AnsiCodePage code_page = AnsiCodePage::kWestern;
  // Asked at every glyph, from the rendering threads too; true ends the run and nothing is
  // written. Empty: the run cannot be cancelled.
  std::function<bool()> cancel_requested = {};
};

// The code page a language's double-byte fonts are drawn in: Big5, GBK, CP949, CP932.
AnsiCodePage AsianCodePage(int language);

// Bytes of one packed glyph: (width + 7) / 8 per row.
inline int PackedGlyphBytes(int width, int height) {
  return (width + 7) / 8 * height;
}

// Each side within 1..2048 and one glyph within 65,536 bytes.
bool CellFits(int width, int height);

// A cell measured 0 dots wide: the font has no glyph for the measuring character. Fixed-pitch
// glyphs (every full Asian font's) would all be empty, so such a run is refused; variable-pitch
// glyphs take their own widths, so there it only warrants a warning.
enum class ZeroWidth { kNone, kWarn, kRefuse };
ZeroWidth CheckMeasuredWidth(int cell_width, int pitch);
// Why, naming the font's family; the caller adds how to give the width.
std::string ZeroWidthCause(std::string_view family);

}  // namespace vantrel
