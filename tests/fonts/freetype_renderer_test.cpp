#include "fonts/freetype_renderer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fonts/font_choices.h"
#include "fonts/font_writers.h"

namespace vantrel {
namespace {

// What one glyph came out as.
struct Drawn {
  GlyphCell cell;
  std::vector<std::uint8_t> bytes;

  bool Ink(int x, int y) const {
    const int row_bytes = (cell.produced_width + 7) / 8;
    return (bytes[static_cast<std::size_t>(y * row_bytes + x / 8)] & (0x80 >> (x % 8))) != 0;
  }
};

class FreeTypeRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<InstalledFont> font = FindInstalledFont(wanted_);
    ASSERT_TRUE(font);
    ASSERT_NE(font->file.find("DejaVuSans"), std::string::npos) << font->file;
    factory_ = FreeTypeRendererFactory(wanted_, *font);
    renderer_ = factory_();
    ASSERT_TRUE(renderer_);
  }

  Drawn Draw(const std::u32string& text, int pitch, int width, int height) {
    Drawn drawn{{.pitch = pitch, .cell_width = width, .cell_height = height, .text = text}, {}};
    std::vector<std::uint8_t> buffer(kMaxGlyphBytes, 0xEE);
    const int count = renderer_->RenderGlyph(drawn.cell, buffer);
    drawn.bytes.assign(buffer.begin(), buffer.begin() + count);
    return drawn;
  }

  FontRequest wanted_{
      .family = "DejaVu Sans", .points = 12, .bold = false, .italic = false, .dpi = 96};
  GlyphRendererFactory factory_;
  std::unique_ptr<GlyphRenderer> renderer_;
};

TEST_F(FreeTypeRendererTest, LineHeightIsSharedAndAdvanceIsPerCharacter) {
  const TextExtent w = renderer_->MeasureText(U"W");
  const TextExtent dot = renderer_->MeasureText(U".");
  EXPECT_EQ(w.height, dot.height);
  EXPECT_GT(w.height, 12);
  EXPECT_GT(w.width, dot.width);
}

// A narrow glyph in a wide, tall fixed cell sits (cell - text) / 2 right and down of where a
// variable-pitch glyph of the line height puts it.
TEST_F(FreeTypeRendererTest, FixedCellCentresTheGlyph) {
  const TextExtent extent = renderer_->MeasureText(U"I");
  const Drawn plain = Draw(U"I", kPitchVariable, 0, extent.height);
  const Drawn centred = Draw(U"I", kPitchFixed, extent.width + 11, extent.height + 5);
  EXPECT_EQ(plain.cell.produced_width, extent.width);
  EXPECT_EQ(centred.cell.produced_width, extent.width + 11);
  int ink = 0;
  for (int y = 0; y < centred.cell.produced_height; ++y) {
    for (int x = 0; x < centred.cell.produced_width; ++x) {
      const bool expected = x >= 5 && x < 5 + extent.width && y >= 2 && y < 2 + extent.height &&
                            plain.Ink(x - 5, y - 2);
      ASSERT_EQ(centred.Ink(x, y), expected) << x << "," << y;
      ink += expected ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 10);
}

TEST_F(FreeTypeRendererTest, NineDotRowsKeepTheUnusedLowBitsClear) {
  const Drawn bar = Draw(U"|", kPitchFixed, 9, 20);
  ASSERT_EQ(bar.bytes.size(), 2U * 20);
  bool inked = false;
  for (std::size_t row = 0; row < 20; ++row) {
    EXPECT_EQ(bar.bytes[2 * row + 1] & 0x7F, 0);
    inked = inked || bar.bytes[2 * row] != 0;
  }
  EXPECT_TRUE(inked);
  // The bar stands in the middle of the cell, around the fifth dot.
  EXPECT_TRUE(bar.Ink(4, 10));
  EXPECT_FALSE(bar.Ink(0, 10));
}

// Nothing to draw (a code its page leaves empty) and a Chinese character this Latin font has
// no glyph for are empty cells.
TEST_F(FreeTypeRendererTest, TextsWithoutGlyphsAreEmptyCells) {
  for (const std::u32string& text : {std::u32string(), std::u32string(U"啊")}) {
    const Drawn empty = Draw(text, kPitchFixed, 16, 16);
    EXPECT_TRUE(empty.cell.missing);
    EXPECT_EQ(empty.bytes, std::vector<std::uint8_t>(2 * 16, 0));
    EXPECT_EQ(Draw(text, kPitchVariable, 16, 16).cell.produced_width, 0);
  }
}

// Glyphs rendered on several threads still land in code order, the same every run.
TEST_F(FreeTypeRendererTest, TwoRunsWriteIdenticalFiles) {
  std::vector<std::vector<char>> files;
  for (const char* name : {"/run1.bmf", "/run2.bmf"}) {
    FontChoices choices{.encode = kStandardEncode,
                        .pitch = kPitchVariable,
                        .first_code = 0,
                        .last_code = 255,
                        .cell_width = 14,
                        .cell_height = 19,
                        .output_path = ::testing::TempDir() + name};
    ASSERT_TRUE(MakeBitmapFont(*BuildFontJob(choices, {}), factory_, nullptr));
    std::ifstream file(choices.output_path, std::ios::binary);
    files.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  EXPECT_GT(files[0].size(), 32U + 256 * 6);
  EXPECT_EQ(files[0], files[1]);
}

// Two characters (an Asian table's pair "AB") stand side by side, B where the advance of A ends.
TEST_F(FreeTypeRendererTest, TwoCharactersAreDrawnOneAfterTheOther) {
  const int a = renderer_->MeasureText(U"A").width;
  const Drawn pair = Draw(U"AB", kPitchVariable, 0, 19);
  const Drawn b = Draw(U"B", kPitchVariable, 0, 19);
  EXPECT_FALSE(pair.cell.missing);
  ASSERT_EQ(pair.cell.produced_width, a + b.cell.produced_width);
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < b.cell.produced_width; ++x) {
      ASSERT_EQ(pair.Ink(a + x, y), b.Ink(x, y)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace vantrel
