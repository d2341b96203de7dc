#include "fonts/font_contact_sheet.h"

#include <zlib.h>

#include <algorithm>

#include "common/byte_order.h"

namespace vantrel {
namespace {

void AppendChunk(std::vector<std::uint8_t>& png, const char* type,
                 std::span<const std::uint8_t> data) {
  AppendU32BE(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  const uLong crc = crc32(0, png.data() + start, static_cast<uInt>(png.size() - start));
  AppendU32BE(png, static_cast<std::uint32_t>(crc));
}

}  // namespace

void InkImage::SetInk(int x, int y) {
  bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(row_bytes()) +
       static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

InkImage DrawContactSheet(std::span<const std::uint8_t> file, const StoredFont& font, int columns) {
  int cell_width = 1;
  for (const StoredGlyph& glyph : font.glyphs) cell_width = std::max(cell_width, glyph.width);
  const int cell_height = std::max(1, font.header.cell_height);
  const int count = static_cast<int>(font.glyphs.size());
  InkImage image;
  image.width = std::min(columns, std::max(count, 1)) * (cell_width + 1);
  image.height = std::max(1, (count + columns - 1) / columns) * (cell_height + 1);
  image.bits.assign(
      static_cast<std::size_t>(image.row_bytes()) * static_cast<std::size_t>(image.height), 0);
  for (int i = 0; i < count; ++i) {
    const StoredGlyph& glyph = font.glyphs[static_cast<std::size_t>(i)];
    const int left = i % columns * (cell_width + 1);
    const int top = i / columns * (cell_height + 1);
    const int row_bytes = (glyph.width + 7) / 8;
    for (int y = 0; y < glyph.height; ++y) {
      for (int x = 0; x < glyph.width; ++x) {
        const std::uint8_t byte =
            file[glyph.rows_offset + static_cast<std::size_t>(y * row_bytes + x / 8)];
        if ((byte & (0x80 >> (x % 8))) != 0) image.SetInk(left + x, top + y);
      }
    }
  }
  return image;
}

HostFileResult WriteInkPng(const InkImage& image, const std::string& path) {
  // One filter byte per row, then the row with ink as 0 (black) in a one-bit grey image.
  std::vector<std::uint8_t> raw;
  const auto row_bytes = static_cast<std::size_t>(image.row_bytes());
  const auto height = static_cast<std::size_t>(image.height);
  raw.reserve((row_bytes + 1) * height);
  for (std::size_t y = 0; y < height; ++y) {
    raw.push_back(0);
    for (std::size_t b = 0; b < row_bytes; ++b) {
      raw.push_back(static_cast<std::uint8_t>(~image.bits[y * row_bytes + b]));
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    return {HostFileError::kWrite, 0, "cannot compress the image for " + path};
  }
  packed.resize(packed_size);
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  AppendU32BE(header, static_cast<std::uint32_t>(image.width));
  AppendU32BE(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {1, 0, 0, 0, 0});  // depth 1, grey, deflate, no filter, no interlace
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", packed);
  AppendChunk(png, "IEND", {});
  return ReplaceHostFile(path, png);
}

}  // namespace vantrel
