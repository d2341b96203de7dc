#include "fonts/font_writers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/byte_order.h"
#include "fonts/fake_glyph_renderer.h"
#include "fonts/font_choices.h"
#include "fonts/font_file_reader.h"
#include "fonts/font_header.h"
#include "support/own_mounts.h"
#include "support/progress_recorder.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::uint32_t Offset(const Bytes& file, std::size_t entry) {
  const std::size_t at = kFontHeaderSize + entry * kGlyphIndexEntrySize + 2;
  return file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
         static_cast<std::uint32_t>(file[at + 3]) << 24;
}

class FontWritersTest : public ::testing::Test {
 protected:
  // A folder of this test's own, so that what a run leaves behind can be seen.
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Makes the font of the choices with the fake renderer; the file's bytes, or nothing.
  std::optional<Bytes> Make(FontChoices choices, const Bytes& table = {}) {
    choices.output_path = Path("font.bmf");
    std::filesystem::remove(choices.output_path);
    const std::optional<FontJob> job = BuildFontJob(choices, table);
    if (!job) return std::nullopt;
    Progress progress(&recorder_, std::chrono::milliseconds(0));
    if (!MakeBitmapFont(*job, testing::FakeFactory(), &progress, &report_)) return std::nullopt;
    return ReadAll(choices.output_path);
  }

  const std::string dir_ = ::testing::TempDir() + "/font_writers_" + std::to_string(::getpid());
  testing::ProgressRecorder recorder_;
  FontReport report_;
};

TEST_F(FontWritersTest, StandardFixedFontHasNoIndexAndFullCells) {
  const auto file = Make({.encode = kStandardEncode,
                          .pitch = kPitchFixed,
                          .cell_width = 10,
                          .cell_height = 14,
                          .italic_width = 3});
  ASSERT_TRUE(file);
  const int record = 2 * 14;
  ASSERT_EQ(file->size(), 32U + 96U * record);
  const Bytes header(file->begin(), file->begin() + 32);
  const Bytes expected = {'B', 0, 0, 0, 1, 14, 0, 10, 0, 32, 0, 127, 0, 0, 0, 96,
                          0,   3, 0, 0, 0, 0,  0, 0,  0, 0,  0, 0,   0, 0, 0, 0};
  EXPECT_EQ(header, expected);
  // Glyph i is code 32 + i, in order.
  EXPECT_EQ((*file)[32], 32);
  EXPECT_EQ((*file)[32 + 95 * record], 127);
  EXPECT_EQ(report_.glyphs, 96);
  EXPECT_EQ(report_.missing_codes, std::vector<std::uint16_t>{0x7F});
  EXPECT_EQ(recorder_.last_caption, "Making font...");
  EXPECT_EQ(recorder_.last_origin.x, 100);
}

TEST_F(FontWritersTest, VariablePitchGetsAnIndexAndWidthFields) {
  const auto file = Make(
      {.encode = kStandardEncode, .pitch = kPitchVariable, .cell_width = 10, .cell_height = 4});
  ASSERT_TRUE(file);
  EXPECT_EQ((*file)[kHeaderPitch], 1);
  EXPECT_EQ((*file)[kHeaderIndex], 1);
  std::uint32_t expected_offset = 32 + 576;
  for (std::size_t i = 0; i < 96; ++i) {
    const auto code = static_cast<std::uint16_t>(32 + i);
    SCOPED_TRACE(code);
    EXPECT_EQ((*file)[32 + 6 * i], code);
    EXPECT_EQ((*file)[32 + 6 * i + 1], 0);
    ASSERT_EQ(Offset(*file, i), expected_offset);
    const int width = testing::FakeGlyphRenderer::TextWidth(code);
    EXPECT_EQ((*file)[expected_offset], width);
    EXPECT_EQ((*file)[expected_offset + 1], 0);
    EXPECT_EQ((*file)[expected_offset + 2], code);
    expected_offset += 2 + static_cast<std::uint32_t>((width + 7) / 8 * 4);
  }
  EXPECT_EQ(file->size(), expected_offset);
}

TEST_F(FontWritersTest, NineDotCellTakesTwoBytesPerRow) {
  const auto file = Make({.encode = kStandardEncode,
                          .pitch = kPitchFixed,
                          .first_code = 65,
                          .last_code = 66,
                          .cell_width = 9,
                          .cell_height = 3});
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 32U + 2 * 2 * 3);
}

TEST_F(FontWritersTest, RefusedJobsCreateNoFile) {
  // 100..50 passes the parameter checks but the writer refuses it before touching the file.
  EXPECT_FALSE(Make({.encode = kStandardEncode,
                     .first_code = 100,
                     .last_code = 50,
                     .cell_width = 8,
                     .cell_height = 8}));
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST(FontJobTest, ParameterChecks) {
  struct Case {
    const char* label;
    FontChoices choices;
    Bytes table;
    bool accepted;
  };
  const Case cases[] = {
      {"standard beyond code 255",
       {.encode = kStandardEncode, .last_code = 256, .cell_width = 8, .cell_height = 8},
       {},
       false},
      {"negative width",
       {.encode = kStandardEncode, .cell_width = -1, .cell_height = 8},
       {},
       false},
      {"width beyond 2048",
       {.encode = kStandardEncode, .cell_width = 2049, .cell_height = 8},
       {},
       false},
      {"height beyond 256",
       {.encode = kStandardEncode, .cell_width = 2048, .cell_height = 257},
       {},
       false},
      {"largest cell",
       {.encode = kStandardEncode, .cell_width = 2048, .cell_height = 256},
       {},
       true},
      {"no fifth language",
       {.encode = kAsianFontEncode, .language = 4, .cell_width = 8, .cell_height = 8},
       {},
       false},
      {"table without codes",
       {.encode = kEncodeByTable, .cell_width = 8, .cell_height = 8},
       {},
       false},
      {"Asian table of an odd length",
       {.encode = kEncodeByTableAsian, .cell_width = 8, .cell_height = 8},
       {'A'},
       false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildFontJob(c.choices, c.table).has_value(), c.accepted) << c.label;
  }
  const auto asian = BuildFontJob({.encode = kAsianFontEncode,
                                   .pitch = kPitchVariable,
                                   .language = 2,
                                   .cell_width = 8,
                                   .cell_height = 8},
                                  {});
  ASSERT_TRUE(asian);
  EXPECT_EQ(asian->pitch, kPitchFixed);
  EXPECT_EQ(asian->code_page, AnsiCodePage::kKorean);
  // A table font draws in its language's code page but leaves the header's language unset.
  const Bytes pair = {0x82, 0xA0};
  const auto table = BuildFontJob(
      {.encode = kEncodeByTableAsian, .language = 3, .cell_width = 8, .cell_height = 8}, pair);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->language, kNoLanguage);
  EXPECT_EQ(table->code_page, AnsiCodePage::kJapanese);
}

TEST_F(FontWritersTest, TableFontKeepsDuplicatesInTableOrder) {
  const auto file =
      Make({.encode = kEncodeByTable, .pitch = kPitchFixed, .cell_width = 8, .cell_height = 2},
           {'A', 'A', 'B'});
  ASSERT_TRUE(file);
  EXPECT_EQ(GetU16LE(*file, kHeaderGlyphCount), 3);
  EXPECT_EQ(GetU16LE(*file, kHeaderFirstCode), 0);
  EXPECT_EQ((*file)[kHeaderIndex], 1);
  EXPECT_EQ((*file)[kHeaderLanguage], 0);
  EXPECT_EQ((*file)[32], 'A');
  EXPECT_EQ((*file)[38], 'A');
  EXPECT_EQ((*file)[44], 'B');
  EXPECT_EQ(Offset(*file, 0), 32U + 18);
  EXPECT_EQ(Offset(*file, 2), 32U + 18 + 4);
}

TEST_F(FontWritersTest, AsianTableFontTakesPairsAndIgnoresAnOddByte) {
  const auto file = Make({.encode = kEncodeByTableAsian,
                          .pitch = kPitchFixed,
                          .language = 1,
                          .cell_width = 16,
                          .cell_height = 2},
                         {0xB0, 0xA1, 0xC4, 0xE3, 0xB0});
  ASSERT_TRUE(file);
  EXPECT_EQ((*file)[kHeaderDoubleByte], 1);
  EXPECT_EQ(GetU16LE(*file, kHeaderGlyphCount), 2);
  const Bytes second_entry(file->begin() + 38, file->begin() + 44);
  EXPECT_EQ(second_entry, (Bytes{0xC4, 0xE3, 32 + 12 + 4, 0, 0, 0}));
  EXPECT_EQ(file->size(), 32U + 12 + 2 * 4);
}

TEST_F(FontWritersTest, JapaneseFullFontStartsWithHalfWidthCodes) {
  const auto file = Make({.encode = kAsianFontEncode,
                          .language = kLanguageJapanese,
                          .cell_width = 24,
                          .cell_height = 2});
  ASSERT_TRUE(file);
  EXPECT_EQ((*file)[kHeaderLanguage], 'J');
  EXPECT_EQ(GetU16LE(*file, kHeaderGlyphCount), 0);
  // 160 single-byte glyphs of 12 dots (2 bytes a row), then 60 x 189 of 24 dots.
  const std::size_t half = 2 * 2;
  EXPECT_EQ(file->size(), 32 + 160 * half + 60 * 189 * 3 * 2);
  EXPECT_EQ((*file)[32 + 95 * half], 0x7F);
  EXPECT_EQ((*file)[32 + 96 * half], 0xA0);
  EXPECT_EQ((*file)[32 + 159 * half], 0xDF);
  EXPECT_EQ((*file)[32 + 160 * half], 0x40);  // 81 40: the trail byte is the low byte
}

TEST_F(FontWritersTest, TraditionalChineseFullFontSizeAndProgress) {
  const auto file = Make({.encode = kAsianFontEncode,
                          .language = kLanguageTraditionalChinese,
                          .cell_width = 15,
                          .cell_height = 3});
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 32U + 96 * 1 * 3 + 94 * 157 * 2 * 3);
  // One report per lead byte, (L - A1) * 100 / 93, ending at 100 (A1 itself shows 0).
  ASSERT_FALSE(recorder_.bars.empty());
  EXPECT_EQ(recorder_.bars.front(), 1);
  EXPECT_EQ(recorder_.bars.back(), 100);
  EXPECT_TRUE(std::is_sorted(recorder_.bars.begin(), recorder_.bars.end()));
}

TEST_F(FontWritersTest, FailedRunLeavesTheExistingFileIntact) {
  const std::string path = Path("kept.bmf");
  std::ofstream(path) << "precious";
  FontJob job = *BuildFontJob(
      {.encode = kStandardEncode, .cell_width = 8, .cell_height = 8, .output_path = path}, {});
  EXPECT_FALSE(MakeBitmapFont(
      job, [] { return nullptr; }, nullptr));
  EXPECT_EQ(ReadAll(path), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
}

// A font that cannot be written says why: a folder, a missing folder, a full disk.
TEST_F(FontWritersTest, OutputFailuresGiveTheirCause) {
  FontJob job = *BuildFontJob({.encode = kStandardEncode, .cell_width = 64, .cell_height = 64}, {});
  const auto cause_of = [&job](const std::string& path) {
    job.output_path = path;
    FontReport report;
    return MakeBitmapFont(job, testing::FakeFactory(), nullptr, &report) ? "made" : report.failure;
  };
  EXPECT_THAT(cause_of(dir_), ::testing::HasSubstr("Is a directory"));
  EXPECT_THAT(cause_of(Path("none/font.bmf")), ::testing::HasSubstr("No such file or directory"));
  if (const std::string why = testing::OwnMountsRefused(); !why.empty()) {
    GTEST_SKIP() << "no full folder without a mount namespace: " << why;
  }
  // 96 glyphs of 512 bytes do not fit one page.
  const int full = testing::InOwnMounts(
      [&] { return testing::MountFullFolder(dir_); },
      [&] {
        return cause_of(Path("font.bmf")).find("No space left on device") != std::string::npos ? 0
                                                                                               : 1;
      });
  EXPECT_EQ(full, 0);
}

// A cancel asked for part way through a run ends it at the next glyph: the old file stays, and
// the glyphs after the cancel are never asked about again.
TEST_F(FontWritersTest, CancelPartWayLeavesTheExistingFileIntact) {
  const std::string path = Path("kept.bmf");
  std::ofstream(path) << "precious";
  FontJob job = *BuildFontJob({.encode = kAsianFontEncode,
                               .language = kLanguageSimplifiedChinese,
                               .cell_width = 8,
                               .cell_height = 8,
                               .output_path = path},
                              {});
  std::atomic<int> asked = 0;
  job.cancel_requested = [&asked] { return ++asked > 1000; };
  EXPECT_FALSE(MakeBitmapFont(job, testing::FakeFactory(), nullptr));
  EXPECT_EQ(ReadAll(path), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_LT(asked.load(), 2000);  // of 24,162 glyphs; each thread asks once more at most
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

// Every shape the writers make reads back as the glyphs that went in.
TEST_F(FontWritersTest, ReaderAcceptsEveryWrittenShape) {
  const std::vector<std::pair<FontChoices, Bytes>> shapes = {
      {{.encode = kStandardEncode, .pitch = kPitchFixed, .cell_width = 9, .cell_height = 5}, {}},
      {{.encode = kStandardEncode, .pitch = kPitchVariable, .cell_width = 9, .cell_height = 5}, {}},
      {{.encode = kEncodeByTable, .pitch = kPitchVariable, .cell_width = 9, .cell_height = 5},
       {'x', 'y'}},
      {{.encode = kAsianFontEncode, .language = 2, .cell_width = 9, .cell_height = 5}, {}},
      {{.encode = kEncodeByTableAsian, .pitch = kPitchVariable, .cell_width = 9, .cell_height = 5},
       {0xA4, 0x40}},
  };
  for (const auto& [choices, table] : shapes) {
    SCOPED_TRACE(choices.encode);
    const auto file = Make(choices, table);
    ASSERT_TRUE(file);
    StoredFont font;
    ASSERT_EQ(ReadBitmapFont(*file, font), "");
    ASSERT_EQ(static_cast<int>(font.glyphs.size()), report_.glyphs);
    const StoredGlyph& last = font.glyphs.back();
    EXPECT_EQ((*file)[last.rows_offset], last.code & 0xFF);
  }
}

// A pair goes to the renderer as the characters it stands for, two letters included; only a
// pair the code page leaves empty has nothing to draw.
TEST_F(FontWritersTest, AsianTablePairsAreDrawnAsTheirCharacters) {
  const auto file = Make({.encode = kEncodeByTableAsian,
                          .language = kLanguageTraditionalChinese,
                          .cell_width = 8,
                          .cell_height = 2},
                         {'A', 'B', 0xA4, 0x40, 0xA3, 0xFF});
  ASSERT_TRUE(file);
  EXPECT_EQ(report_.missing_codes, std::vector<std::uint16_t>{0xA3FF});
}

TEST_F(FontWritersTest, ReaderRefusesDamagedFiles) {
  const auto good =
      Make({.encode = kEncodeByTable, .pitch = kPitchVariable, .cell_width = 8, .cell_height = 2},
           {'A', 'B'});
  ASSERT_TRUE(good);
  const auto damaged = [&good](std::size_t at, std::uint8_t value) {
    Bytes bytes = *good;
    bytes[at] = value;
    return bytes;
  };
  struct Case {
    const char* label;
    Bytes file;
    const char* refusal;  // part of the reason given
  };
  const Case cases[] = {
      {"wrong magic", damaged(0, 'C'), "not a bitmap font file"},
      {"last byte cut", Bytes(good->begin(), good->end() - 1), "past the end"},
      // The second glyph's offset points back into the header.
      {"offset backwards", damaged(32 + 6 + 2, 10), "index entry 1 points at 10"},
      // The first glyph claims 255 dots and runs past the end.
      {"glyph too wide", damaged(32 + 12, 0xFF), "past the end"},
      {"header cut", Bytes(good->begin(), good->begin() + 31), "shorter than the 32-byte header"},
  };
  for (const Case& c : cases) {
    StoredFont font;
    EXPECT_THAT(ReadBitmapFont(c.file, font), ::testing::HasSubstr(c.refusal)) << c.label;
  }
}

}  // namespace
}  // namespace vantrel
