// Feeds arbitrary bytes to every code page, as page bytes and as UTF-8: decoding stays inside
// its input, and Encode succeeds only with bytes that decode to exactly the text it was given.
#include <cstdint>
#include <string_view>

#include "common/ansi_code_page.h"

namespace {

void Check(const vantrel::AnsiCodec& codec, std::string_view data) {
  const vantrel::DecodedText decoded = codec.Decode(data);
  if (decoded.undecodable > data.size()) __builtin_trap();
  if (decoded.undecodable > 0 && decoded.first_undecodable_offset >= data.size()) {
    __builtin_trap();
  }
  for (const std::string_view text : {std::string_view(decoded.utf8), data}) {
    const vantrel::EncodedText encoded = codec.Encode(text);
    if (encoded.ok && codec.Decode(encoded.bytes).utf8 != text) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const vantrel::AnsiCodec codecs[] = {
      vantrel::AnsiCodec(vantrel::AnsiCodePage::kWestern),
      vantrel::AnsiCodec(vantrel::AnsiCodePage::kTraditionalChinese),
      vantrel::AnsiCodec(vantrel::AnsiCodePage::kSimplifiedChinese),
      vantrel::AnsiCodec(vantrel::AnsiCodePage::kKorean),
      vantrel::AnsiCodec(vantrel::AnsiCodePage::kJapanese)};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const vantrel::AnsiCodec& codec : codecs) Check(codec, bytes);
  return 0;
}
