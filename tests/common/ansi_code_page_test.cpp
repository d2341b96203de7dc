#include "common/ansi_code_page.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

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
  EXPECT_EQ(tc.DecodeCode(0xA440), U'一');
  EXPECT_EQ(tc.DecodeCode(0x41), U'A');
  EXPECT_FALSE(tc.DecodeCode(0xA3FF).has_value());  // empty in the code page
  EXPECT_FALSE(tc.DecodeCode(0x4142).has_value());  // two characters, not one code
  EXPECT_FALSE(tc.DecodeCode(0x0A).has_value());
  AnsiCodec western(AnsiCodePage::kWestern);
  EXPECT_EQ(western.DecodeCode(0x80), U'€');
  EXPECT_FALSE(western.DecodeCode(0x81).has_value());
}

}  // namespace
}  // namespace vantrel
