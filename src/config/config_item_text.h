#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/config_items.h"
#include "config/unit_conversions.h"

namespace vantrel {

// One item as text: its key and its value with an explicit unit, as the configuration text and
// the item edits carry them. Lengths read "4.00in", "101.60mm" or "812dots".

// "Common.PaperWidth", "Z.Darkness", "D.LabelWidth": unique, stable and ASCII.
std::string ItemKey(const ConfigItem& item);
// The item of a key; none for a key no item has.
const ConfigItem* ItemWithKey(std::string_view key);

// A value as written: the text of an edit, or of a JSON string or number.
struct ItemValueText {
  std::string_view text;
  bool json_number = false;  // a choice then gives its stored value rather than a word
};

// Stores the value the text names into `config`, leaving the flag alone. Lengths in inch or mm
// convert with the window's rules at `config`'s resolution. On refusal returns why and leaves
// `config` as it was.
std::string StoreItemValue(const ConfigItem& item, ItemValueText value, PrinterConfig& config);

// Why the item's value, if set, is none a configuration file may hold (see ConfigValueRefusal);
// empty when it is.
std::string ItemValueRefusal(const ConfigItem& item, const PrinterConfig& config);

void SetItemFlag(const ConfigItem& item, PrinterConfig& config, std::uint8_t flag);

// The item's stored value as a JSON value: "4.00in", 5, "Gap", "~", 3.5. Lengths show in `unit`
// (dots where the resolution is unusable); a choice without a word shows its number. Empty for a
// real that is not finite, which JSON cannot hold.
std::string ItemValueJson(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit);

// The value text shows the item's stored value as an export would: a length the same
// hundredths in its unit or the same dots, anything else the same value.
bool ValueShowsStored(const ConfigItem& item, std::string_view value_text,
                      const PrinterConfig& config);

// Bytes as a JSON string of ASCII only: each byte is the Latin-1 character of its value.
std::string JsonString(std::string_view bytes);
// UTF-8 text back to Latin-1 bytes; none for a character beyond Latin-1 or broken UTF-8.
std::optional<std::string> Latin1FromUtf8(std::string_view text);

// The shortest text that reads back as the same float ("3", "11.8").
std::string ShortestText(float value);
// A whole JSON or edit number ("-12", "+5") or a real one; none for anything else.
std::optional<std::int32_t> WholeFromText(std::string_view text);
std::optional<float> FloatFromText(std::string_view text);

}  // namespace vantrel
