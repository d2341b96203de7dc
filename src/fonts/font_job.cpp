#include "fonts/font_job.h"

namespace vantrel {

AnsiCodePage AsianCodePage(int language) {
  switch (language) {
    case kLanguageSimplifiedChinese:
      return AnsiCodePage::kSimplifiedChinese;
    case kLanguageKorean:
      return AnsiCodePage::kKorean;
    case kLanguageJapanese:
      return AnsiCodePage::kJapanese;
    default:
      return AnsiCodePage::kTraditionalChinese;
  }
}

bool CellFits(int width, int height) {
  return width >= 0 && height >= 0 && width <= kMaxCellSide && height <= kMaxCellSide &&
         PackedGlyphBytes(width, height) <= kMaxGlyphBytes;
}

ZeroWidth CheckMeasuredWidth(int cell_width, int pitch) {
  if (cell_width != 0) return ZeroWidth::kNone;
  return pitch == kPitchFixed ? ZeroWidth::kRefuse : ZeroWidth::kWarn;
}

std::string ZeroWidthCause(std::string_view family) {
  return "\"" + std::string(family) +
         "\" has no glyph for the measuring character, so the cell is 0 dots wide";
}

}  // namespace vantrel
