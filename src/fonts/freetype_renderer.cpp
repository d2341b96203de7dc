#include "fonts/freetype_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fonts/font_job.h"

namespace vantrel {
namespace {

int RoundedPixels(FT_Pos value) {
  return static_cast<int>((value + 32) >> 6);
}

class FreeTypeRenderer : public GlyphRenderer {
 public:
  explicit FreeTypeRenderer(const InstalledFont& font) : embolden_(font.embolden) {}
  ~FreeTypeRenderer() override {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  FreeTypeRenderer(const FreeTypeRenderer&) = delete;
  FreeTypeRenderer& operator=(const FreeTypeRenderer&) = delete;

  // Face, size and metrics are set up once here; glyphs only load and pack.
  bool Open(const FontRequest& wanted, const InstalledFont& font) {
    if (FT_Init_FreeType(&library_) != 0) return false;
    if (FT_New_Face(library_, font.file.c_str(), font.face_index, &face_) != 0) return false;
    const auto size = static_cast<FT_F26Dot6>(std::lround(wanted.points * 64));
    if (FT_Set_Char_Size(face_, 0, size, static_cast<FT_UInt>(wanted.dpi),
                         static_cast<FT_UInt>(wanted.dpi)) != 0) {
      return false;
    }
    FT_Matrix matrix{ToFixed(font.matrix[0]), ToFixed(font.matrix[1]), ToFixed(font.matrix[2]),
                     ToFixed(font.matrix[3])};
    FT_Set_Transform(face_, &matrix, nullptr);
    ascent_ = RoundedPixels(face_->size->metrics.ascender);
    line_height_ = ascent_ + RoundedPixels(-face_->size->metrics.descender);
    return true;
  }

  TextExtent MeasureText(std::u32string_view text) override {
    return {TextWidth(text).width, line_height_};
  }

  int RenderGlyph(GlyphCell& cell, std::span<std::uint8_t> out) override {
    const TextWidthOf measured = TextWidth(cell.text);
    cell.missing = !measured.complete;
    const int text_width = measured.width;
    const bool fixed = cell.pitch == kPitchFixed;
    cell.produced_width =
        fixed ? cell.cell_width : std::min(text_width, MaxProducedWidth(cell.cell_height));
    cell.produced_height = cell.cell_height;
    const int byte_count = PackedGlyphBytes(cell.produced_width, cell.produced_height);
    std::fill_n(out.begin(), byte_count, 0);
    int x = fixed && cell.cell_width > text_width ? (cell.cell_width - text_width) / 2 : 0;
    const int y = cell.cell_height > line_height_ ? (cell.cell_height - line_height_) / 2 : 0;
    // A one-character text's glyph is still in the slot from measuring it; the characters of a
    // longer one are loaded again one after the other.
    for (const char32_t character : cell.text) {
      const bool loaded = cell.text.size() == 1 ? measured.complete : LoadCharacter(character);
      if (!loaded) continue;
      PackInk(x, y, cell, out);
      x += Advance();
    }
    return byte_count;
  }

 private:
  static FT_Fixed ToFixed(double value) {
    return static_cast<FT_Fixed>(std::lround(value * 65536));
  }

  struct TextWidthOf {
    int width = 0;
    bool complete = false;  // the text has characters and the font has a glyph for each
  };

  // The sum of the advances of the characters the font has.
  TextWidthOf TextWidth(std::u32string_view text) {
    TextWidthOf result{.width = 0, .complete = !text.empty()};
    for (const char32_t character : text) {
      if (LoadCharacter(character)) {
        result.width += Advance();
      } else {
        result.complete = false;
      }
    }
    return result;
  }

  int Advance() const { return RoundedPixels(face_->glyph->advance.x); }

  // Loads and renders the character's glyph; false when the font has none.
  bool LoadCharacter(char32_t character) {
    const FT_UInt index = FT_Get_Char_Index(face_, character);
    if (index == 0) return false;
    // The font's own hinting: the light auto-hinter costs three times as much per glyph.
    const auto flags = static_cast<FT_Int32>(FT_LOAD_DEFAULT | (embolden_ ? 0 : FT_LOAD_RENDER));
    if (FT_Load_Glyph(face_, index, flags) != 0) return false;
    if (embolden_) {
      FT_GlyphSlot_Embolden(face_->glyph);
      if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    }
    return true;
  }

  // Sets a bit for every pixel with any coverage that falls inside the produced rectangle:
  // the cell crops what does not fit.
  void PackInk(int x, int y, const GlyphCell& cell, std::span<std::uint8_t> out) const {
    const FT_Bitmap& bitmap = face_->glyph->bitmap;
    const int row_bytes = (cell.produced_width + 7) / 8;
    const int left = x + face_->glyph->bitmap_left;
    const int top = y + ascent_ - face_->glyph->bitmap_top;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    for (int r = 0; r < static_cast<int>(bitmap.rows); ++r) {
      const int row = top + r;
      if (row < 0 || row >= cell.produced_height) continue;
      const unsigned char* pixels = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
      for (int c = 0; c < static_cast<int>(bitmap.width); ++c) {
        const int column = left + c;
        if (column < 0 || column >= cell.produced_width) continue;
        const bool ink = mono ? (pixels[c / 8] & (0x80 >> (c % 8))) != 0 : pixels[c] != 0;
        if (ink) {
          out[static_cast<std::size_t>(row) * static_cast<std::size_t>(row_bytes) +
              static_cast<std::size_t>(column / 8)] |=
              static_cast<std::uint8_t>(0x80 >> (column % 8));
        }
      }
    }
  }

  bool embolden_;
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  int ascent_ = 0;
  int line_height_ = 0;
};

}  // namespace

int MaxProducedWidth(int height) {
  return height == 0 ? kMaxCellSide : std::min(kMaxCellSide, kMaxGlyphBytes / height * 8);
}

GlyphRendererFactory FreeTypeRendererFactory(const FontRequest& wanted, const InstalledFont& font) {
  return [wanted, font]() -> std::unique_ptr<GlyphRenderer> {
    auto renderer = std::make_unique<FreeTypeRenderer>(font);
    if (!renderer->Open(wanted, font)) return nullptr;
    return renderer;
  };
}

}  // namespace vantrel
