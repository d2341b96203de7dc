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

}  // namespace vantrel
