#include "common/ansi_code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

constexpr AnsiCodePage kEveryPage[] = {AnsiCodePage::kWestern, AnsiCodePage::kTraditionalChinese,
                                       AnsiCodePage::kSimplifiedChinese, AnsiCodePage::kKorean,
                                       AnsiCodePage::kJapanese};

std::string Utf8(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c < 0x800) {
    return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
  }
  return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
          static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(AnsiCodePage, FollowsTheLocale) {
  EXPECT_EQ(AnsiCodePageForLocale("zh_TW.UTF-8"), AnsiCodePage::kTraditionalChinese);
  EXPECT_EQ(AnsiCodePageForLocale("zh-CN"), AnsiCodePage::kSimplifiedChinese);
  EXPECT_EQ(AnsiCodePageForLocale("ko_KR"), AnsiCodePage::kKorean);
  EXPECT_EQ(AnsiCodePageForLocale("ja_JP.eucJP"), AnsiCodePage::kJapanese);
  EXPECT_EQ(AnsiCodePageForLocale("zh_HK"), AnsiCodePage::kWestern);
  EXPECT_EQ(AnsiCodePageForLocale(""), AnsiCodePage::kWestern);
  EXPECT_EQ(AnsiCodePageFromNumber(950), AnsiCodePage::kTraditionalChinese);
  EXPECT_FALSE(AnsiCodePageFromNumber(437).has_value());
}

TEST(AnsiCodePage, RoundTripsDoubleByteNames) {
  // "印表機" in Big5 and "打印机" in GBK, as printers are named.
  const std::string big5 = "\xA6\x4C\xAA\xED\xBE\xF7";
  AnsiCodec tc(AnsiCodePage::kTraditionalChinese);
  const DecodedText shown = tc.Decode(big5);
  EXPECT_EQ(shown.utf8, "印表機");
  EXPECT_EQ(shown.undecodable, 0u);
  EXPECT_EQ(tc.Encode(shown.utf8).bytes, big5);

  AnsiCodec sc(AnsiCodePage::kSimplifiedChinese);
  EXPECT_EQ(sc.Encode("打印机 A").bytes, "\xB4\xF2\xD3\xA1\xBB\xFA A");
}

TEST(AnsiCodePage, CountsBytesItCannotDecode) {
  AnsiCodec western(AnsiCodePage::kWestern);
  // 0x81 is undefined in 1252; a Big5 lead byte at the end has no trail byte.
  const DecodedText text = western.Decode(
      "a\x81"
      "b");
  EXPECT_EQ(text.utf8,
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(text.undecodable, 1u);
  EXPECT_EQ(text.first_undecodable_offset, 1u);
  AnsiCodec tc(AnsiCodePage::kTraditionalChinese);
  EXPECT_EQ(tc.Decode("ok\xA6").undecodable, 1u);
}

TEST(AnsiCodePage, NamesTheFirstCharacterItCannotEncodeAndItsLine) {
  AnsiCodec western(AnsiCodePage::kWestern);
  const EncodedText text = western.Encode("SIZE 4,3\nTEXT \"é\"\nTEXT \"印\"\n");
  EXPECT_FALSE(text.ok);
  EXPECT_EQ(text.unrepresentable, U'印');
  EXPECT_EQ(text.line, 3u);
  EXPECT_TRUE(text.bytes.empty());
  EXPECT_EQ(western.Encode("é€").bytes, "\xE9\x80");
}

TEST(AnsiCodePage, DecodesSingleCodes) {
  AnsiCodec tc(AnsiCodePage::kTraditionalChinese);
  const struct {
    const char* label;
    AnsiCodePage page;
    std::uint16_t code;
    std::u32string characters;
  } cases[] = {
      {"double-byte", AnsiCodePage::kTraditionalChinese, 0xA440, U"一"},
      {"single byte", AnsiCodePage::kTraditionalChinese, 0x41, U"A"},
      {"empty in the page", AnsiCodePage::kTraditionalChinese, 0xA3FF, U""},
      {"two single-byte characters", AnsiCodePage::kTraditionalChinese, 0x4142, U"AB"},
      {"a letter and an empty byte", AnsiCodePage::kTraditionalChinese, 0x41FF, U""},
      {"control code", AnsiCodePage::kTraditionalChinese, 0x0A, U""},
      {"a letter and a control code", AnsiCodePage::kWestern, 0x417F, U""},
      {"euro", AnsiCodePage::kWestern, 0x80, U"€"},
      {"undefined single byte", AnsiCodePage::kWestern, 0x81, U""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(AnsiCodec(c.page).DecodeCode(c.code) == c.characters) << c.label;
  }
}

// Every byte pair of every page: decoding stays inside its input, a pair the page leaves
// empty is an empty code, and what decodes encodes back to the same text.
TEST(AnsiCodePage, EveryBytePairDecodesAndWhatDecodesRoundTrips) {
  for (const AnsiCodePage page : kEveryPage) {
    SCOPED_TRACE(static_cast<int>(page));
    const AnsiCodec codec(page);
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
      const std::string pair{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const DecodedText text = codec.Decode(pair);
      ASSERT_LE(text.undecodable, 2u) << std::hex << code;
      if (!codec.DecodeCode(static_cast<std::uint16_t>(code)).empty()) {
        ASSERT_EQ(text.undecodable, 0u) << std::hex << code;
      }
      if (text.undecodable > 0) continue;
      const EncodedText back = codec.Encode(text.utf8);
      ASSERT_TRUE(back.ok) << std::hex << code;
      ASSERT_EQ(codec.Decode(back.bytes).utf8, text.utf8) << std::hex << code;
    }
  }
}

TEST(AnsiCodePage, APairTheConverterTakesBeforeRefusingIsOneEmptyCode) {
  const AnsiCodec korean(AnsiCodePage::kKorean);
  EXPECT_TRUE(korean.DecodeCode(0xA2E8).empty());
  const DecodedText text = korean.Decode(
      "\xA2\xE8"
      "A");
  EXPECT_EQ(text.utf8,
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(text.first_undecodable_offset, 0u);
}

// Encode succeeds only with bytes that decode to the very text it was given: a character the
// converter would swap for a look-alike is refused like any other.
TEST(AnsiCodePage, EveryCharacterEncodesExactlyOrIsRefused) {
  for (const AnsiCodePage page : kEveryPage) {
    SCOPED_TRACE(static_cast<int>(page));
    const AnsiCodec codec(page);
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      const std::string utf8 = Utf8(c);
      const EncodedText encoded = codec.Encode(utf8);
      if (!encoded.ok) {
        ASSERT_EQ(encoded.unrepresentable, c);
        continue;
      }
      ASSERT_EQ(codec.Decode(encoded.bytes).utf8, utf8)
          << std::hex << static_cast<std::uint32_t>(c);
    }
  }
}

TEST(AnsiCodePage, RefusesLookAlikesInJapanese) {
  const AnsiCodec japanese(AnsiCodePage::kJapanese);
  for (const char32_t c : {U'¥', U'‾', U'—', U'〜', U'¢', U'£', U'¬', U'‖', U'−'}) {
    const EncodedText text = japanese.Encode("TEXT 1\nTEXT \"" + Utf8(c) + "\"\n");
    EXPECT_FALSE(text.ok) << std::hex << static_cast<std::uint32_t>(c);
    EXPECT_EQ(text.unrepresentable, c);
    EXPECT_EQ(text.line, 2u);
  }
}

}  // namespace
}  // namespace vantrel
