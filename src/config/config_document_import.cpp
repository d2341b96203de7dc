// Configuration text back to the document it was exported from.
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>

#include "config/config_document_text.h"
#include "config/config_item_text.h"
#include "config/config_text_entries.h"

namespace vantrel {
namespace {

// A refusal: the line it lies on and why.
struct Refusal {
  int line = 0;
  std::string reason;
};

using Refused = std::optional<Refusal>;

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();

Refusal At(const TextEntry& entry, std::string reason) {
  return {entry.line, std::move(reason)};
}

std::string KeyText(const TextEntry& entry) {
  std::string key;
  for (const std::string& part : entry.path) key += (key.empty() ? "" : ".") + part;
  return JsonString(key);
}

Refusal Unknown(const TextEntry& entry) {
  return At(entry, "unknown key " + KeyText(entry));
}

std::optional<std::int32_t> WholeIn(const TextEntry& entry, std::int32_t low, std::int32_t high) {
  if (entry.type != TextEntryType::kNumber) return std::nullopt;
  const std::optional<std::int32_t> number = WholeFromText(entry.text);
  if (!number || *number < low || *number > high) return std::nullopt;
  return number;
}

std::optional<std::uint8_t> Flag(const TextEntry& entry) {
  const std::optional<std::int32_t> flag = WholeIn(entry, 0, 255);
  if (!flag) return std::nullopt;
  return static_cast<std::uint8_t>(*flag);
}

std::optional<float> Real(const TextEntry& entry) {
  if (entry.type != TextEntryType::kNumber) return std::nullopt;
  return FloatFromText(entry.text);
}

template <std::size_t N>
Refused StoreText(const TextEntry& entry, Text<N>& field) {
  const std::optional<std::string> bytes =
      entry.type == TextEntryType::kString ? Latin1FromUtf8(entry.text) : std::nullopt;
  if (!bytes || bytes->size() > N) {
    return At(entry,
              KeyText(entry) + " takes a text of Latin-1 characters, at most " + std::to_string(N));
  }
  field.fill('\0');
  std::memcpy(field.data(), bytes->data(), bytes->size());
  return std::nullopt;
}

// "00 01 00 ...": the ten status bytes in hexadecimal.
Refused StoreStatus(const TextEntry& entry, StatusFlags& status) {
  const Refusal refusal = At(entry, "status takes ten bytes in hexadecimal, \"00 01 ...\"");
  const std::string& text = entry.text;
  if (entry.type != TextEntryType::kString || text.size() != 3 * StatusFlags::kCount - 1) {
    return refusal;
  }
  StatusFlags read;
  for (std::size_t i = 0; i < StatusFlags::kCount; ++i) {
    const char* digits = text.data() + 3 * i;
    if (i > 0 && digits[-1] != ' ') return refusal;
    const auto [end, error] = std::from_chars(digits, digits + 2, read.flags[i], 16);
    if (error != std::errc() || end != digits + 2) return refusal;
  }
  status = read;
  return std::nullopt;
}

Refused StoreFileUnit(const TextEntry& entry, std::int32_t& unit) {
  if (entry.type == TextEntryType::kString && (entry.text == "in" || entry.text == "mm")) {
    unit = entry.text == "mm" ? kUnitMm : kUnitInch;
    return std::nullopt;
  }
  const std::optional<std::int32_t> number = WholeIn(entry, kLowest, kHighest);
  if (!number) return At(entry, "fileUnit takes \"in\", \"mm\" or a whole number");
  unit = *number;
  return std::nullopt;
}

Refused StoreResolution(const TextEntry& entry, PrinterConfig& config, bool& dots_per_mm_given) {
  const std::string& name = entry.path[1];
  if (name == "dpi" || name == "dotsPerMm") {
    const std::optional<float> value = Real(entry);
    if (!value) return At(entry, name + " takes a number");
    (name == "dpi" ? config.Dpi.value : config.DotsPerMm) = *value;
    dots_per_mm_given = dots_per_mm_given || name == "dotsPerMm";
    return std::nullopt;
  }
  if (name != "flag") return Unknown(entry);
  const std::optional<std::uint8_t> flag = Flag(entry);
  if (!flag) return At(entry, "the resolution's flag takes a whole number from 0 to 255");
  config.Dpi.flag = *flag;
  return std::nullopt;
}

// The head of the document: everything but the items.
class HeadReader {
 public:
  explicit HeadReader(ConfigFileContents& contents) : contents_(contents) {}

  Refused Read(const TextEntry& entry) {
    const std::string& key = entry.path[0];
    if (key == "resolution") return Resolution(entry);
    // An item's part is read later; the parts of other keys are refused with their parent.
    if (entry.path.size() > 1) return std::nullopt;
    PrinterConfig& config = contents_.config;
    if (key == "edition") {
      const std::optional<std::int32_t> edition = WholeIn(entry, kLowest, kHighest);
      if (!edition) return At(entry, "edition takes a whole number");
      config.Edition = *edition;
      edition_given_ = true;
      return std::nullopt;
    }
    if (key == "fileUnit") return StoreFileUnit(entry, contents_.unit);
    if (key == "version") return StoreText(entry, config.Version);
    if (key == "milage") return StoreText(entry, config.Milage);
    if (key == "checksum") return StoreText(entry, config.Checksum);
    if (key == "serialNo") return StoreText(entry, config.SerialNo);
    if (key == "status") return StoreStatus(entry, contents_.status);
    if (key == "items") {
      if (entry.type == TextEntryType::kObject) return std::nullopt;
      return At(entry, "items takes an object of items");
    }
    return Unknown(entry);
  }

  // What the whole head lacks, once every entry is read.
  Refused Missing() {
    PrinterConfig& config = contents_.config;
    if (!resolution_given_) {
      return Refusal{0, "no resolution: the text needs \"resolution\": {\"dpi\": ...}"};
    }
    if (!dpi_given_) return Refusal{resolution_line_, "the resolution has no dpi"};
    if (!dots_per_mm_given_) {
      const std::optional<float> derived = DotsPerMmFromDpi(config.Dpi.value);
      if (!derived) return Refusal{resolution_line_, "no dots per millimetre follow from the dpi"};
      config.DotsPerMm = *derived;
    }
    if (!edition_given_) return Refusal{0, "no edition: the text needs \"edition\": ..."};
    return std::nullopt;
  }

 private:
  Refused Resolution(const TextEntry& entry) {
    if (entry.path.size() == 1) {
      resolution_given_ = true;
      resolution_line_ = entry.line;
      if (entry.type == TextEntryType::kObject) return std::nullopt;
      return At(entry, "resolution takes an object: {\"dpi\": ...}");
    }
    if (entry.path.size() > 2) return Unknown(entry);
    dpi_given_ = dpi_given_ || entry.path[1] == "dpi";
    return StoreResolution(entry, contents_.config, dots_per_mm_given_);
  }

  ConfigFileContents& contents_;
  bool resolution_given_ = false;
  bool dpi_given_ = false;
  bool dots_per_mm_given_ = false;
  bool edition_given_ = false;
  int resolution_line_ = 0;
};

// One item's entries: a value alone, or an object of a value, an exact length and a flag.
struct ItemEntries {
  const ConfigItem* item = nullptr;
  const TextEntry* self = nullptr;
  const TextEntry* value = nullptr;
  const TextEntry* exact = nullptr;  // "dots" or "mm"
  const TextEntry* flag = nullptr;
};

Refused AddPart(ItemEntries& entries, const TextEntry& entry) {
  if (entries.item == nullptr || entry.path.size() > 3) return Unknown(entry);
  const std::string& part = entry.path[2];
  const ConfigItem& item = *entries.item;
  const TextEntry** slot = nullptr;
  if (part == "value") slot = &entries.value;
  if (part == "flag") slot = &entries.flag;
  if ((part == "dots" && HeldInDots(item)) ||
      (part == "mm" && item.kind == ItemKind::kMillimetres)) {
    slot = &entries.exact;
  }
  if (slot == nullptr) return Unknown(entry);
  *slot = &entry;
  return std::nullopt;
}

// The exact stored length, put into `config`.
std::string StoreExact(const ConfigItem& item, const TextEntry& exact, PrinterConfig& config) {
  if (IntItem* dots = DotsField(item, config)) {
    const std::optional<std::int32_t> number = WholeIn(exact, kLowest, kHighest);
    if (!number) return "dots takes a whole number";
    dots->value = *number;
    return {};
  }
  const std::optional<float> mm = Real(exact);
  if (!mm) return "mm takes a number";
  (config.*std::get<RealItem PrinterConfig::*>(item.field)).value = *mm;
  return {};
}

// A value given beside the exact length must show it: otherwise one of them was edited, and
// which one was meant cannot be told.
std::string Disagreement(const ConfigItem& item, const TextEntry& value,
                         const PrinterConfig& exact) {
  if (ValueShowsStored(item, value.text, exact)) return {};
  return "the value " + JsonString(value.text) +
         " does not agree with the exact length: change one of them and remove the other";
}

std::string StoreValue(const ConfigItem& item, const TextEntry& value, PrinterConfig& config) {
  if (value.type != TextEntryType::kString && value.type != TextEntryType::kNumber) {
    return "the value is neither a text nor a number";
  }
  return StoreItemValue(item, {value.text, value.type == TextEntryType::kNumber}, config);
}

std::string ItemRefusal(const ItemEntries& entries, PrinterConfig& config) {
  const ConfigItem& item = *entries.item;
  if (entries.self->type == TextEntryType::kNull) return {};
  std::uint8_t flag = 1;
  if (entries.flag != nullptr) {
    const std::optional<std::uint8_t> given = Flag(*entries.flag);
    if (!given) return "flag takes a whole number from 0 to 255";
    flag = *given;
  }
  PrinterConfig stored = config;
  std::string refusal;
  if (entries.value != nullptr) refusal = StoreValue(item, *entries.value, stored);
  if (refusal.empty() && entries.exact != nullptr) {
    PrinterConfig exact = config;
    refusal = StoreExact(item, *entries.exact, exact);
    if (refusal.empty() && entries.value != nullptr) {
      refusal = Disagreement(item, *entries.value, exact);
    }
    stored = exact;
  }
  if (refusal.empty() && entries.value == nullptr && entries.exact == nullptr && flag != 0) {
    refusal = "no value is given";
  }
  if (!refusal.empty()) return refusal;
  CopyItemValue(item, config, stored);
  SetItemFlag(item, config, flag);
  return ItemValueRefusal(item, config);
}

// The items, read after the head so that lengths convert at the document's resolution.
Refused ReadItems(const std::vector<TextEntry>& entries, PrinterConfig& config) {
  ItemEntries current;
  const auto finish = [&]() -> Refused {
    if (current.item == nullptr) return std::nullopt;
    std::string refusal = ItemRefusal(current, config);
    if (refusal.empty()) return std::nullopt;
    return At(*current.self, ItemKey(*current.item) + ": " + refusal);
  };
  for (const TextEntry& entry : entries) {
    if (entry.path[0] != "items" || entry.path.size() < 2) continue;
    if (entry.path.size() > 2) {
      if (Refused refused = AddPart(current, entry)) return refused;
      continue;
    }
    if (Refused refused = finish()) return refused;
    current = {ItemWithKey(entry.path[1]), &entry};
    if (current.item == nullptr) return Unknown(entry);
    if (entry.type != TextEntryType::kObject) current.value = &entry;
  }
  return finish();
}

std::optional<LengthUnit> WrittenUnit(const std::vector<TextEntry>& entries) {
  for (const TextEntry& entry : entries) {
    const std::size_t depth = entry.path.size();
    const bool value = depth == 2 || (depth == 3 && entry.path[2] == "value");
    if (entry.path[0] != "items" || !value || entry.type != TextEntryType::kString) continue;
    const ConfigItem* item = ItemWithKey(entry.path[1]);
    if (!HeldInDots(*item) && item->kind != ItemKind::kMillimetres) continue;
    if (entry.text.ends_with("in")) return kUnitInch;
    if (entry.text.ends_with("mm")) return kUnitMm;
  }
  return std::nullopt;
}

}  // namespace

ConfigTextImport ImportConfigText(std::string_view text) {
  const TextEntries read = ReadTextEntries(text);
  if (!read.error.empty()) return {std::nullopt, read.error_line, read.error, std::nullopt};
  ConfigFileContents contents;
  ResetConfig(contents.config);
  HeadReader head(contents);
  Refused refused;
  for (const TextEntry& entry : read.entries) {
    if ((refused = head.Read(entry))) break;
  }
  if (!refused) refused = head.Missing();
  if (!refused) refused = ReadItems(read.entries, contents.config);
  if (refused) return {std::nullopt, refused->line, refused->reason, std::nullopt};
  return {contents, 0, {}, WrittenUnit(read.entries)};
}

}  // namespace vantrel
