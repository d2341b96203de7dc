#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The single- and double-byte code pages that printer texts are written in: names typed by
// users, command text, encode tables. Numbered as their users know them.
enum class AnsiCodePage : int {
  kWestern = 1252,
  kJapanese = 932,
  kSimplifiedChinese = 936,
  kKorean = 949,
  kTraditionalChinese = 950,
};

// zh_TW 950, zh_CN 936, ko 949, ja 932, anything else 1252 ("zh_TW.UTF-8" and "zh-TW" alike).
AnsiCodePage AnsiCodePageForLocale(std::string_view locale_name);
// The code page of a number such as 950; nothing for a number we do not carry.
std::optional<AnsiCodePage> AnsiCodePageFromNumber(int number);

struct DecodedText {
  std::string utf8;
  // Bytes, or lead and trail pairs, the code page does not define; each became U+FFFD in utf8.
  std::size_t undecodable = 0;
  std::size_t first_undecodable_offset = 0;
};

struct EncodedText {
  std::string bytes;
  bool ok = true;
  // When !ok: the first character the code page cannot carry exactly (also one the converter
  // would swap for a look-alike), and its 1-based line.
  char32_t unrepresentable = 0;
  std::size_t line = 0;
};

// One conversion pair for one code page. Opening it costs far more than converting a short
// text, so long runs (a font's 24,000 codes) keep one. Not safe to share between threads.
class AnsiCodec {
 public:
  explicit AnsiCodec(AnsiCodePage code_page);
  ~AnsiCodec();
  AnsiCodec(const AnsiCodec&) = delete;
  AnsiCodec& operator=(const AnsiCodec&) = delete;

  AnsiCodePage code_page() const { return code_page_; }
  DecodedText Decode(std::string_view bytes) const;
  EncodedText Encode(std::string_view utf8) const;
  // The characters a single- or double-byte code stands for (0x41, or 0xA440 as lead and trail
  // byte): one, or two when the pair is two single-byte characters (0x4142 is "AB"). Empty when
  // the code page leaves a byte of it empty or it holds a control code.
  std::u32string DecodeCode(std::uint16_t code) const;

 private:
  AnsiCodePage code_page_;
  void* to_utf8_;
  void* from_utf8_;
};

}  // namespace vantrel
