#include "sim_program_options.h"

namespace vantrel::sim {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<DetailBytes> ParseDetailHex(std::string_view text) {
  DetailBytes detail{};
  if (text.size() != detail.size() * 2) return std::nullopt;
  for (std::size_t i = 0; i < detail.size(); ++i) {
    const int high = HexValue(text[2 * i]);
    const int low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    detail[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return detail;
}

}  // namespace vantrel::sim
