#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "fonts/font_job.h"

namespace vantrel {

inline constexpr std::size_t kFontHeaderSize = 32;
inline constexpr std::size_t kGlyphIndexEntrySize = 6;
inline constexpr std::uint8_t kFontMagic = 0x42;  // 'B'

// Header byte offsets.
inline constexpr std::size_t kHeaderPitch = 1;
inline constexpr std::size_t kHeaderDoubleByte = 2;
inline constexpr std::size_t kHeaderIndex = 3;
inline constexpr std::size_t kHeaderItalic = 4;
inline constexpr std::size_t kHeaderCellHeight = 5;
inline constexpr std::size_t kHeaderCellWidth = 7;
inline constexpr std::size_t kHeaderFirstCode = 9;
inline constexpr std::size_t kHeaderLastCode = 11;
inline constexpr std::size_t kHeaderLanguage = 13;
inline constexpr std::size_t kHeaderGlyphCount = 15;
inline constexpr std::size_t kHeaderItalicWidth = 17;

using FontHeaderBytes = std::array<std::uint8_t, kFontHeaderSize>;

// The 32-byte header of the job, field by field; bytes without a field are 0.
FontHeaderBytes BuildFontHeader(const FontJob& job);

// A 16-bit field: the remainder by 256 in the low byte, the quotient by 256 in the high byte,
// both truncated toward zero (plain little-endian for the values 0..65535); read with GetU16LE.
void PutFontField16(std::span<std::uint8_t> bytes, std::size_t offset, int value);

// 'T', 'G', 'K', 'J' for languages 0..3; 0 for any other value.
std::uint8_t LanguageLetter(int language);

}  // namespace vantrel
