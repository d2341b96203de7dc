#include "common/ansi_code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace vantrel {
namespace {

const char* IconvName(AnsiCodePage code_page) {
  switch (code_page) {
    case AnsiCodePage::kJapanese:
      return "CP932";
    case AnsiCodePage::kSimplifiedChinese:
      return "CP936";
    case AnsiCodePage::kKorean:
      return "CP949";
    case AnsiCodePage::kTraditionalChinese:
      return "CP950";
    case AnsiCodePage::kWestern:
      break;
  }
  return "CP1252";
}

iconv_t OpenOrThrow(const char* to, const char* from) {
  iconv_t handle = iconv_open(to, from);
  // iconv_open's own failure value is (iconv_t)-1.
  if (handle == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
  }
  return handle;
}

iconv_t Handle(void* p) {
  return static_cast<iconv_t>(p);
}

// Bytes of the UTF-8 character led by `lead`; a stray continuation byte stands alone.
std::size_t Utf8Length(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Reads the UTF-8 character at the start of text; a broken sequence reads as its first byte.
char32_t FirstCharacter(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = Utf8Length(lead);
  if (length == 1 || length > text.size()) return lead;
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  return value;
}

// One call of the converter over the whole of `in`.
struct Conversion {
  std::string out;
  // Input bytes the converter took, also when it failed: some converters take a pair they
  // then refuse.
  std::size_t taken = 0;
  bool ok = false;
  bool incomplete = false;  // the input ends inside a character
};

Conversion Convert(iconv_t handle, std::string_view in) {
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  // No character of these pages grows beyond three bytes either way; a shortfall only fails.
  Conversion result{.out = std::string(in.size() * 3 + 4, '\0')};
  char* in_ptr = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  char* out_ptr = result.out.data();
  std::size_t out_left = result.out.size();
  const std::size_t done = iconv(handle, &in_ptr, &in_left, &out_ptr, &out_left);
  result.ok = done != static_cast<std::size_t>(-1);
  result.incomplete = !result.ok && errno == EINVAL;
  result.taken = in.size() - std::min(in_left, in.size());
  result.out.resize(result.out.size() - out_left);
  return result;
}

// The first character of a text in the code page: how many bytes it spans (at least one, never
// more than the text has) and whether they decoded.
struct Piece {
  std::size_t taken = 1;
  bool decoded = false;
};

// Decodes the byte or the lead and trail byte at the start of `bytes` onto `out`.
Piece DecodeFirst(iconv_t handle, std::string_view bytes, std::string& out) {
  for (std::size_t length = 1; length <= std::min<std::size_t>(2, bytes.size()); ++length) {
    const Conversion step = Convert(handle, bytes.substr(0, length));
    if (step.ok && step.taken == length) {
      out += step.out;
      return {length, true};
    }
    if (!step.incomplete) return {std::clamp<std::size_t>(step.taken, 1, length), false};
  }
  return {};  // a lead byte without its trail
}

// True when `encoded` is all of `utf8` and decodes to exactly it again.
bool Carries(iconv_t to_utf8, std::string_view utf8, const Conversion& encoded) {
  if (!encoded.ok || encoded.taken != utf8.size()) return false;
  const Conversion back = Convert(to_utf8, encoded.out);
  return back.ok && back.out == utf8;
}

}  // namespace

AnsiCodePage AnsiCodePageForLocale(std::string_view locale_name) {
  const auto starts = [&](std::string_view a, std::string_view b) {
    return locale_name.starts_with(a) || locale_name.starts_with(b);
  };
  if (starts("zh_TW", "zh-TW")) return AnsiCodePage::kTraditionalChinese;
  if (starts("zh_CN", "zh-CN")) return AnsiCodePage::kSimplifiedChinese;
  if (locale_name.starts_with("ko")) return AnsiCodePage::kKorean;
  if (locale_name.starts_with("ja")) return AnsiCodePage::kJapanese;
  return AnsiCodePage::kWestern;
}

std::optional<AnsiCodePage> AnsiCodePageFromNumber(int number) {
  for (AnsiCodePage page :
       {AnsiCodePage::kWestern, AnsiCodePage::kJapanese, AnsiCodePage::kSimplifiedChinese,
        AnsiCodePage::kKorean, AnsiCodePage::kTraditionalChinese}) {
    if (static_cast<int>(page) == number) return page;
  }
  return std::nullopt;
}

AnsiCodec::AnsiCodec(AnsiCodePage code_page)
    : code_page_(code_page),
      to_utf8_(OpenOrThrow("UTF-8", IconvName(code_page))),
      from_utf8_(OpenOrThrow(IconvName(code_page), "UTF-8")) {}

AnsiCodec::~AnsiCodec() {
  iconv_close(Handle(to_utf8_));
  iconv_close(Handle(from_utf8_));
}

DecodedText AnsiCodec::Decode(std::string_view bytes) const {
  DecodedText result;
  Conversion whole = Convert(Handle(to_utf8_), bytes);
  if (whole.ok) {
    result.utf8 = std::move(whole.out);
    return result;
  }
  // Character by character, so that an undefined byte or pair is marked and skipped alone.
  for (std::size_t offset = 0; offset < bytes.size();) {
    const Piece piece = DecodeFirst(Handle(to_utf8_), bytes.substr(offset), result.utf8);
    if (!piece.decoded) {
      if (result.undecodable++ == 0) result.first_undecodable_offset = offset;
      result.utf8 += "\xEF\xBF\xBD";
    }
    offset += piece.taken;
  }
  return result;
}

EncodedText AnsiCodec::Encode(std::string_view utf8) const {
  EncodedText result;
  Conversion whole = Convert(Handle(from_utf8_), utf8);
  if (Carries(Handle(to_utf8_), utf8, whole)) {
    result.bytes = std::move(whole.out);
    return result;
  }
  // Character by character: the first one that does not come back unchanged is refused, also
  // when the converter would put a look-alike in its place.
  for (std::size_t offset = 0; offset < utf8.size();) {
    const std::string_view character =
        utf8.substr(offset, Utf8Length(static_cast<unsigned char>(utf8[offset])));
    const Conversion one = Convert(Handle(from_utf8_), character);
    if (!Carries(Handle(to_utf8_), character, one)) {
      result.ok = false;
      result.unrepresentable = FirstCharacter(character);
      result.line =
          1 + static_cast<std::size_t>(std::count(utf8.begin(), utf8.begin() + offset, '\n'));
      result.bytes.clear();
      return result;
    }
    result.bytes += one.out;
    offset += character.size();
  }
  return result;
}

std::u32string AnsiCodec::DecodeCode(std::uint16_t code) const {
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFF));
  const DecodedText text = Decode(bytes);
  if (text.undecodable > 0) return {};
  std::u32string characters;
  for (std::string_view rest = text.utf8; !rest.empty();
       rest.remove_prefix(Utf8Length(static_cast<unsigned char>(rest.front())))) {
    const char32_t character = FirstCharacter(rest);
    if (character < 0x20 || character == 0x7F) return {};
    characters.push_back(character);
  }
  return characters;
}

}  // namespace vantrel
