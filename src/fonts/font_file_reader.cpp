#include "fonts/font_file_reader.h"

#include "common/byte_order.h"
#include "fonts/font_encodings.h"
#include "fonts/font_header.h"
#include "fonts/font_job.h"

namespace vantrel {
namespace {

std::string ReadHeader(std::span<const std::uint8_t> file, StoredFontHeader& header) {
  if (file.size() < kFontHeaderSize) return "shorter than the 32-byte header";
  if (file[0] != kFontMagic) return "not a bitmap font file (the first byte is not 'B')";
  for (std::size_t flag = kHeaderPitch; flag <= kHeaderItalic; ++flag) {
    if (file[flag] > 1) return "header byte " + std::to_string(flag) + " is neither 0 nor 1";
  }
  header.pitch = file[kHeaderPitch];
  header.double_byte = file[kHeaderDoubleByte] == 1;
  header.index = file[kHeaderIndex] == 1;
  header.italic = file[kHeaderItalic] == 1;
  header.cell_height = GetU16LE(file, kHeaderCellHeight);
  header.cell_width = GetU16LE(file, kHeaderCellWidth);
  header.first_code = GetU16LE(file, kHeaderFirstCode);
  header.last_code = GetU16LE(file, kHeaderLastCode);
  header.language = file[kHeaderLanguage];
  header.glyph_count = GetU16LE(file, kHeaderGlyphCount);
  header.italic_width = GetU16LE(file, kHeaderItalicWidth);
  if (!CellFits(header.cell_width, header.cell_height))
    return "the cell is larger than 2048 x 2048";
  return {};
}

// Reads one record at `at`; its size comes from the cell (fixed) or its width field.
std::string ReadRecord(std::span<const std::uint8_t> file, std::size_t at, int cell_width,
                       const StoredFontHeader& header, StoredGlyph& glyph, std::size_t& end) {
  glyph.height = header.cell_height;
  glyph.width = cell_width;
  if (header.pitch == 1) {
    if (at + 2 > file.size()) return "a glyph's width field runs past the end of the file";
    glyph.width = GetU16LE(file, at);
    if (glyph.width > kMaxCellSide) return "a glyph is wider than 2048 dots";
    at += 2;
  }
  glyph.rows_offset = at;
  const auto rows = static_cast<std::size_t>(PackedGlyphBytes(glyph.width, glyph.height));
  if (at + rows > file.size()) return "a glyph's rows run past the end of the file";
  end = at + rows;
  return {};
}

std::string ReadIndexed(std::span<const std::uint8_t> file, StoredFont& font) {
  const auto count = static_cast<std::size_t>(font.header.glyph_count);
  std::size_t expected = kFontHeaderSize + count * kGlyphIndexEntrySize;
  if (expected > file.size()) return "the glyph index runs past the end of the file";
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kFontHeaderSize + i * kGlyphIndexEntrySize;
    StoredGlyph glyph;
    glyph.double_byte = font.header.double_byte;
    glyph.code = static_cast<std::uint16_t>(
        font.header.double_byte ? file[entry] << 8 | file[entry + 1] : file[entry]);
    const std::uint32_t offset = GetU32LE(file, entry + 2);
    if (offset < expected) {
      return "index entry " + std::to_string(i) + " points at " + std::to_string(offset) +
             ", inside the index or the previous glyph";
    }
    if (std::string why =
            ReadRecord(file, offset, font.header.cell_width, font.header, glyph, expected);
        !why.empty()) {
      return why;
    }
    font.glyphs.push_back(glyph);
  }
  return expected == file.size() ? std::string() : "bytes follow the last glyph";
}

struct PlainCode {
  std::uint16_t code;
  bool double_byte;
  int cell_width;
};

// The codes of an unindexed font: first..last, or a full Asian code space.
std::string PlainCodes(const StoredFontHeader& header, std::vector<PlainCode>& codes) {
  if (!header.double_byte) {
    if (header.last_code < header.first_code || header.last_code > 255) {
      return "the code range is not within 0..255";
    }
    for (int code = header.first_code; code <= header.last_code; ++code) {
      codes.push_back({static_cast<std::uint16_t>(code), false, header.cell_width});
    }
    return {};
  }
  int language = -1;
  for (int l = 0; l < kAsianLanguageCount; ++l) {
    if (LanguageLetter(l) == header.language) language = l;
  }
  if (language < 0) return "a full Asian font without a known language letter";
  if (header.pitch != 0) return "a full Asian font must be fixed-pitch";
  const AsianCodeSpace& space = AsianCodeSpaceOf(language);
  for (const std::uint8_t code : ExpandRanges(space.single_bytes)) {
    codes.push_back({code, false, header.cell_width / 2});
  }
  const std::vector<std::uint8_t> trails = ExpandRanges(space.trail_bytes);
  for (const std::uint8_t lead : ExpandRanges(space.lead_bytes)) {
    for (const std::uint8_t trail : trails) {
      codes.push_back({static_cast<std::uint16_t>(lead << 8 | trail), true, header.cell_width});
    }
  }
  return {};
}

std::string ReadPlain(std::span<const std::uint8_t> file, StoredFont& font) {
  if (font.header.pitch != 0) return "a variable-pitch font without a glyph index";
  std::vector<PlainCode> codes;
  if (std::string why = PlainCodes(font.header, codes); !why.empty()) return why;
  std::size_t at = kFontHeaderSize;
  for (const PlainCode& code : codes) {
    StoredGlyph glyph{.code = code.code, .double_byte = code.double_byte};
    if (std::string why = ReadRecord(file, at, code.cell_width, font.header, glyph, at);
        !why.empty()) {
      return why;
    }
    font.glyphs.push_back(glyph);
  }
  return at == file.size() ? std::string() : "bytes follow the last glyph";
}

}  // namespace

std::string ReadBitmapFont(std::span<const std::uint8_t> file, StoredFont& font) {
  font = StoredFont{};
  if (std::string why = ReadHeader(file, font.header); !why.empty()) return why;
  return font.header.index ? ReadIndexed(file, font) : ReadPlain(file, font);
}

}  // namespace vantrel
