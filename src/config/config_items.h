#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/printer_config.h"

namespace vantrel {

// The three settings pages of a configuration, in record order; each is one write block and its
// value is that block's number.
enum class ConfigPage : int { kCommon = 0, kZ = 1, kD = 2 };
inline constexpr std::array<ConfigPage, 3> kConfigPages = {ConfigPage::kCommon, ConfigPage::kZ,
                                                           ConfigPage::kD};

// What an item's value means, which decides how it is shown, converted and compared.
enum class ItemKind {
  kNumber,
  kReal,
  kChoice,  // an index into the item's names
  kCharacter,
  kMillimetres,       // a length held in millimetres; the printer keeps it in whole dots
  kPlainDots,         // a length in dots, written in dots, always shown as dots
  kDots,              // a length in dots, written in dots, shown in the unit
  kDotsAsHundredths,  // a length in dots, written in hundredths of an inch, shown in the unit
};

using ItemField =
    std::variant<IntItem PrinterConfig::*, RealItem PrinterConfig::*, CharItem PrinterConfig::*>;

// One setting of the record as the pages carry it.
struct ConfigItem {
  const char* name;   // the record's field name
  const char* label;  // the English caption
  ConfigPage page;
  ItemKind kind;
  ItemField field;
  std::span<const std::string_view> names = {};  // kChoice
  std::int32_t first = 0;                        // the value of names[0]
  bool written = true;  // false for the reference values a printer reports and never takes
};

// The items of a page, in record order.
std::span<const ConfigItem> ConfigPageItems(ConfigPage page);

// "Common", "Z emulation", "D emulation".
std::string_view ConfigPageTitle(ConfigPage page);
// "common", "z", "d": the names of --block.
std::string_view ConfigPageName(ConfigPage page);
// The page of a block name; none for another name ("all").
std::optional<ConfigPage> ConfigPageNamed(std::string_view name);
// The pages a --block names: its one page, or all three for another name ("all").
std::vector<ConfigPage> ConfigPagesNamed(std::string_view name);

bool ItemIsSet(const ConfigItem& item, const PrinterConfig& config);
// Both hold the same stored value (the values of unset items are not looked at).
bool ItemValuesEqual(const ConfigItem& item, const PrinterConfig& a, const PrinterConfig& b);
// Puts `from`'s value into `into`, leaving `into`'s flag as it is.
void CopyItemValue(const ConfigItem& item, PrinterConfig& into, const PrinterConfig& from);
// A length the record holds in printer dots.
bool HeldInDots(const ConfigItem& item);
// The stored value of an item held in dots; none for another kind.
IntItem* DotsField(const ConfigItem& item, PrinterConfig& config);
const IntItem* DotsField(const ConfigItem& item, const PrinterConfig& config);

// A written item of `page` is set: the page is something to write or to compare.
bool PageSetsAnything(const PrinterConfig& config, ConfigPage page);
// "the file sets nothing on the Z emulation page", or empty when it sets something.
std::string PageRefusal(const PrinterConfig& config, ConfigPage page, std::string_view what);

// The values the window's field of an item takes, in its stored unit (millimetres for
// lengths); none where it takes whatever the record can hold.
struct ItemRange {
  double low;
  double high;
};
std::optional<ItemRange> ItemEditRange(const ItemField& field);

// "Common / Paper Width, Z emulation / Darkness": the items for a message line.
std::string ItemList(const std::vector<const ConfigItem*>& items);

}  // namespace vantrel
