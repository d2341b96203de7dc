#include "fonts/font_header.h"

namespace vantrel {

void PutFontField16(std::span<std::uint8_t> bytes, std::size_t offset, int value) {
  bytes[offset] = static_cast<std::uint8_t>(value % 256);
  bytes[offset + 1] = static_cast<std::uint8_t>(value / 256);
}

std::uint8_t LanguageLetter(int language) {
  constexpr std::uint8_t kLetters[kAsianLanguageCount] = {'T', 'G', 'K', 'J'};
  if (language < 0 || language >= kAsianLanguageCount) return 0;
  return kLetters[language];
}

FontHeaderBytes BuildFontHeader(const FontJob& job) {
  FontHeaderBytes header{};
  header[0] = kFontMagic;
  header[kHeaderPitch] = job.pitch == kPitchVariable ? 1 : 0;
  header[kHeaderDoubleByte] = job.double_byte ? 1 : 0;
  header[kHeaderIndex] = job.index ? 1 : 0;
  header[kHeaderItalic] = job.italic_width != 0 ? 1 : 0;
  PutFontField16(header, kHeaderCellHeight, job.cell_height);
  PutFontField16(header, kHeaderCellWidth, job.cell_width);
  PutFontField16(header, kHeaderFirstCode, job.first_code);
  PutFontField16(header, kHeaderLastCode, job.last_code);
  header[kHeaderLanguage] = LanguageLetter(job.language);
  PutFontField16(header, kHeaderGlyphCount, job.glyph_count);
  PutFontField16(header, kHeaderItalicWidth, job.italic_width);
  return header;
}

}  // namespace vantrel
