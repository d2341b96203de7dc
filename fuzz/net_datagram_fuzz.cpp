// The discovery and get reply decoders and the address and MAC text parsers on arbitrary bytes:
// no read past the datagram, and every parse agrees with its own formatting.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "net/discovery_reply.h"
#include "net/ipv4_text.h"
#include "net/mac_text.h"
#include "net/setup_datagrams.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckDiscoveryReply(std::span<const std::uint8_t> bytes) {
  const auto row = vantrel::DecodeDiscoveryReply(bytes);
  Require(row.has_value() == (bytes.size() >= vantrel::kNetCommandHeaderSize));
  if (!row) return;
  Require(vantrel::ParseMacText(row->mac).has_value());
  Require(vantrel::IsCompleteIPv4Text(row->ip_address));
  Require(row->model_name.size() <= 32);
  Require(row->printer_name.find('\0') == std::string::npos);
  Require(!row->status.empty());
}

void CheckTexts(std::string_view text) {
  if (const auto address = vantrel::TryParseIPv4(text)) {
    Require(vantrel::TryParseIPv4(vantrel::FormatIPv4(*address)) == address);
    Require(vantrel::ParseIPv4(text) == *address);
  } else {
    Require(!vantrel::IsCompleteIPv4Text(text));
  }
  if (const auto mac = vantrel::ParseMacText(text)) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Require(vantrel::FormatMacText(*mac) == upper);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckDiscoveryReply(bytes);
  vantrel::DecodeAddressReply(bytes);
  vantrel::DecodeDhcpReply(bytes);
  CheckTexts(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
