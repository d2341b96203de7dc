#include "fonts/font_encodings.h"

#include <array>

namespace vantrel {
namespace {

// Big5, GBK, KS X 1001 and Shift JIS lead and trail ranges, as the printer counts them.
const std::array<AsianCodeSpace, 4> kCodeSpaces = {{
    {{{0x20, 0x7F}}, {{0xA1, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}, 0xA1, 93},
    {{{0x20, 0x7F}}, {{0x81, 0xFE}}, {{0x40, 0xFE}}, 0x81, 125},
    {{{0x20, 0x7F}}, {{0xA1, 0xFE}}, {{0xA0, 0xFE}}, 0xA1, 93},
    {{{0x20, 0x7F}, {0xA0, 0xDF}}, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0xFC}}, 0x81, 123},
}};

int RangeBytes(const std::vector<ByteRange>& ranges) {
  int count = 0;
  for (const ByteRange& range : ranges) count += range.last - range.first + 1;
  return count;
}

}  // namespace

const AsianCodeSpace& AsianCodeSpaceOf(int language) {
  return kCodeSpaces.at(static_cast<std::size_t>(language));
}

int AsianGlyphCount(const AsianCodeSpace& space) {
  return RangeBytes(space.single_bytes) +
         RangeBytes(space.lead_bytes) * RangeBytes(space.trail_bytes);
}

int AsianProgressAfterLead(const AsianCodeSpace& space, int lead) {
  return (lead - space.progress_base) * 100 / space.progress_span;
}

std::vector<std::uint8_t> ExpandRanges(const std::vector<ByteRange>& ranges) {
  std::vector<std::uint8_t> bytes;
  for (const ByteRange& range : ranges) {
    for (int value = range.first; value <= range.last; ++value) {
      bytes.push_back(static_cast<std::uint8_t>(value));
    }
  }
  return bytes;
}

}  // namespace vantrel
