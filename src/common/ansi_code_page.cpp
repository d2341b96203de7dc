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

// Reads the UTF-8 character at the start of text; a broken sequence reads as its first byte.
char32_t FirstCharacter(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (lead < 0x80 || static_cast<std::size_t>(length) > text.size()) return lead;
  char32_t value = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  return value;
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
  iconv(Handle(to_utf8_), nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  std::string out(bytes.size() * 4 + 4, '\0');
  std::size_t used = 0;
  while (in_left > 0) {
    char* out_ptr = out.data() + used;
    std::size_t out_left = out.size() - used;
    const std::size_t done = iconv(Handle(to_utf8_), &in, &in_left, &out_ptr, &out_left);
    used = out.size() - out_left;
    if (done != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // An undefined byte or a lead byte without its trail: mark it and go on after it.
    if (result.undecodable++ == 0) result.first_undecodable_offset = bytes.size() - in_left;
    if (out.size() - used < 3) out.resize(out.size() * 2);
    out.replace(used, 3, "\xEF\xBF\xBD");
    used += 3;
    ++in;
    --in_left;
    iconv(Handle(to_utf8_), nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
  result.utf8 = std::move(out);
  return result;
}

EncodedText AnsiCodec::Encode(std::string_view utf8) const {
  EncodedText result;
  iconv(Handle(from_utf8_), nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  result.bytes.assign(utf8.size() + 4, '\0');
  char* out_ptr = result.bytes.data();
  std::size_t out_left = result.bytes.size();
  // Every character takes at most as many bytes in these code pages as in UTF-8.
  if (iconv(Handle(from_utf8_), &in, &in_left, &out_ptr, &out_left) ==
      static_cast<std::size_t>(-1)) {
    const std::size_t offset = utf8.size() - in_left;
    result.ok = false;
    result.unrepresentable = FirstCharacter(utf8.substr(offset));
    result.line =
        1 + static_cast<std::size_t>(std::count(utf8.begin(), utf8.begin() + offset, '\n'));
    result.bytes.clear();
    return result;
  }
  result.bytes.resize(result.bytes.size() - out_left);
  return result;
}

std::optional<char32_t> AnsiCodec::DecodeCode(std::uint16_t code) const {
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFF));
  const DecodedText text = Decode(bytes);
  if (text.undecodable > 0 || text.utf8.empty()) return std::nullopt;
  const char32_t value = FirstCharacter(text.utf8);
  const std::size_t length = value < 0x80 ? 1 : value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
  // Two single-byte characters are not one double-byte code.
  if (length != text.utf8.size() || value < 0x20 || value == 0x7F) return std::nullopt;
  return value;
}

}  // namespace vantrel
