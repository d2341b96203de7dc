#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vantrel {

// The fixed name tables of the configuration; an item's value is an index into one of them.
inline constexpr std::array<std::string_view, 36> kCodePageNames = {
    "USA",    "BRI",    "GER",    "FRE",    "DAN",    "ITA",    "SPA",    "SWE",     "SWI",
    "437",    "850",    "852",    "857",    "860",    "863",    "865",    "1250",    "1251",
    "1252",   "1253",   "1254",   "1255",   "1256",   "1257",   "1258",   "8859-1",  "8859-2",
    "8859-3", "8859-4", "8859-5", "8859-6", "8859-7", "8859-8", "8859-9", "8859-10", "8859-15",
};

inline constexpr std::array<std::string_view, 22> kCountryCodes = {
    "001", "002", "003", "031", "032", "033", "034", "036", "038", "039", "041",
    "042", "044", "045", "046", "047", "048", "049", "055", "061", "351", "358",
};

// The printer's answers; kBaudRateCodes holds what is written, at the same indexes.
inline constexpr std::array<std::string_view, 9> kBaudRateNames = {
    "0", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200",
};
inline constexpr std::array<std::string_view, 9> kBaudRateCodes = {
    "0", "12", "24", "48", "96", "19", "38", "56", "115",
};

inline constexpr std::array<std::string_view, 2> kDataBitNames = {"7", "8"};
inline constexpr std::array<std::string_view, 3> kParityNames = {"None", "Odd", "Even"};
inline constexpr std::array<std::string_view, 2> kStopBitNames = {"1", "2"};

// The index of the first entry equal to `text`; the table's length when none is.
inline std::int32_t MatchIndex(std::span<const std::string_view> table, std::string_view text) {
  std::size_t index = 0;
  while (index < table.size() && table[index] != text) ++index;
  return static_cast<std::int32_t>(index);
}

// The entry at a stored index, or an empty view when the index lies outside the table.
inline std::string_view TableEntry(std::span<const std::string_view> table, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return {};
  return table[static_cast<std::size_t>(index)];
}

}  // namespace vantrel
