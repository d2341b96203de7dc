#include "config/config_item_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "config/config_value_checks.h"
#include "config/value_tables.h"

namespace vantrel {
namespace {

constexpr std::array<std::string_view, 3> kKeyPrefixes = {"Common", "Z", "D"};

// A length's value text split into its number and its unit word ("4.00" and "in").
struct LengthText {
  std::string_view number;
  std::string_view unit;
};

LengthText SplitLength(std::string_view text) {
  std::size_t at = text.size();
  while (at > 0 && text[at - 1] >= 'a' && text[at - 1] <= 'z') --at;
  return {text.substr(0, at), text.substr(at)};
}

std::optional<LengthUnit> UnitNamed(std::string_view unit) {
  if (unit == "in") return kUnitInch;
  if (unit == "mm") return kUnitMm;
  return std::nullopt;
}

std::string UnitWord(LengthUnit unit) {
  return unit == kUnitMm ? "mm" : "in";
}

std::string Quoted(std::string_view text) {
  return JsonString(text);
}

std::string NotA(std::string_view text, std::string_view what) {
  return Quoted(text) + " is not " + std::string(what);
}

std::string Words(const ConfigItem& item) {
  std::string words;
  for (const std::string_view word : item.names) {
    words += (words.empty() ? "" : ", ") + std::string(word);
  }
  return words;
}

std::string StoreCharacter(ItemValueText value, char& stored) {
  const std::optional<std::string> bytes = Latin1FromUtf8(value.text);
  if (value.json_number || !bytes || bytes->size() != 1) {
    return NotA(value.text, "one Latin-1 character in quotes");
  }
  stored = (*bytes)[0];
  return {};
}

std::string StoreReal(const ConfigItem& item, ItemValueText value, const PrinterConfig& config,
                      float& stored) {
  if (item.kind == ItemKind::kReal) {
    const std::optional<float> number = FloatFromText(value.text);
    if (!number) return NotA(value.text, "a number");
    stored = *number;
    return {};
  }
  const auto [number, unit] = SplitLength(value.text);
  if (unit == "dots") {
    const std::optional<std::int32_t> dots = WholeFromText(number);
    const std::optional<float> mm = dots ? DotsToMm(*dots, config.DotsPerMm) : std::nullopt;
    if (!mm) return NotA(value.text, "a whole number of dots at this resolution");
    stored = *mm;
    return {};
  }
  const std::optional<LengthUnit> shown = UnitNamed(unit);
  const std::optional<float> typed = FloatFromText(number);
  if (!shown || !typed) return NotA(value.text, "a length in in, mm or dots");
  const float mm = ShownToMm(*typed, *shown);
  if (!std::isfinite(mm)) return NotA(value.text, "a length the record can hold");
  stored = mm;
  return {};
}

std::string StoreChoice(const ConfigItem& item, ItemValueText value, std::int32_t& stored) {
  if (value.json_number) {
    const std::optional<std::int32_t> number = WholeFromText(value.text);
    if (!number) return NotA(value.text, "a whole number");
    stored = *number;
    return {};
  }
  const std::int32_t index = MatchIndex(item.names, value.text);
  if (static_cast<std::size_t>(index) == item.names.size()) {
    return NotA(value.text, "one of " + Words(item));
  }
  stored = index + item.first;
  return {};
}

std::string StoreDots(const ConfigItem& item, ItemValueText value, const PrinterConfig& config,
                      std::int32_t& stored) {
  const auto [number, unit] = SplitLength(value.text);
  const bool plain = item.kind == ItemKind::kPlainDots;
  std::optional<std::int32_t> dots;
  if (unit == "dots" || (plain && unit.empty())) {
    dots = WholeFromText(number);
  } else if (plain) {
    return NotA(value.text, "a whole number of dots");
  } else if (const std::optional<LengthUnit> shown = UnitNamed(unit)) {
    dots = ShownToDots(number, *shown, config);
  }
  if (!dots)
    return NotA(value.text, plain ? "a whole number of dots" : "a length in in, mm or dots");
  stored = *dots;
  return {};
}

std::string StoreInt(const ConfigItem& item, ItemValueText value, const PrinterConfig& config,
                     std::int32_t& stored) {
  switch (item.kind) {
    case ItemKind::kChoice:
      return StoreChoice(item, value, stored);
    case ItemKind::kPlainDots:
    case ItemKind::kDots:
    case ItemKind::kDotsAsHundredths:
      return StoreDots(item, value, config, stored);
    default:
      break;
  }
  const std::optional<std::int32_t> number = WholeFromText(value.text);
  if (!number) return NotA(value.text, "a whole number");
  stored = *number;
  return {};
}

std::string DotsJson(std::int32_t dots, const ConfigItem& item, const PrinterConfig& config,
                     LengthUnit unit) {
  const std::string shown =
      item.kind == ItemKind::kPlainDots ? std::string() : DotsToText(dots, unit, config);
  return Quoted(shown.empty() ? std::to_string(dots) + "dots" : shown + UnitWord(unit));
}

std::string IntJson(const ConfigItem& item, std::int32_t value, const PrinterConfig& config,
                    LengthUnit unit) {
  if (item.kind == ItemKind::kChoice) {
    // Below the first value there is no word, and subtracting could overflow.
    const std::string_view word =
        value >= item.first ? TableEntry(item.names, value - item.first) : "";
    return word.empty() ? std::to_string(value) : Quoted(word);
  }
  if (HeldInDots(item)) return DotsJson(value, item, config, unit);
  return std::to_string(value);
}

std::string RealJson(const ConfigItem& item, float value, LengthUnit unit) {
  if (!std::isfinite(value)) return {};
  if (item.kind == ItemKind::kMillimetres) return Quoted(MmToText(value, unit) + UnitWord(unit));
  return ShortestText(value);
}

}  // namespace

std::string ItemKey(const ConfigItem& item) {
  std::string name = item.name;
  if (item.page != ConfigPage::kCommon) name.pop_back();  // "DarknessZ": the page says it
  return std::string(kKeyPrefixes[static_cast<std::size_t>(item.page)]) + "." + name;
}

const ConfigItem* ItemWithKey(std::string_view key) {
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      if (ItemKey(item) == key) return &item;
    }
  }
  return nullptr;
}

std::string StoreItemValue(const ConfigItem& item, ItemValueText value, PrinterConfig& config) {
  PrinterConfig changed = config;
  std::string refusal = std::visit(
      [&](auto member) -> std::string {
        auto& stored = (changed.*member).value;
        using Value = std::remove_reference_t<decltype(stored)>;
        if constexpr (std::is_same_v<Value, char>) {
          return StoreCharacter(value, stored);
        } else if constexpr (std::is_same_v<Value, float>) {
          return StoreReal(item, value, config, stored);
        } else {
          return StoreInt(item, value, config, stored);
        }
      },
      item.field);
  if (refusal.empty()) config = changed;
  return refusal;
}

std::string ItemValueRefusal(const ConfigItem& item, const PrinterConfig& config) {
  // The record's own checks, asked about this item alone.
  PrinterConfig alone;
  ResetConfig(alone);
  std::visit([&](auto member) { alone.*member = config.*member; }, item.field);
  return ConfigValueRefusal(alone);
}

void SetItemFlag(const ConfigItem& item, PrinterConfig& config, std::uint8_t flag) {
  std::visit([&](auto member) { (config.*member).flag = flag; }, item.field);
}

std::string ItemValueJson(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto value = (config.*member).value;
        using Value = std::remove_const_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, char>) {
          return Quoted(std::string_view(&value, 1));
        } else if constexpr (std::is_same_v<Value, float>) {
          return RealJson(item, value, unit);
        } else {
          return IntJson(item, value, config, unit);
        }
      },
      item.field);
}

bool ValueShowsStored(const ConfigItem& item, std::string_view value_text,
                      const PrinterConfig& config) {
  const auto [number, unit] = SplitLength(value_text);
  const std::optional<LengthUnit> shown = UnitNamed(unit);
  if (!shown) {
    PrinterConfig again = config;
    return StoreItemValue(item, {value_text}, again).empty() &&
           ItemValuesEqual(item, again, config);
  }
  const std::optional<float> typed = FloatFromText(number);
  return typed && ItemValueJson(item, config, *shown) ==
                      Quoted(FormatHundredths(*typed) + std::string(unit));
}

std::string JsonString(std::string_view bytes) {
  std::string json = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::optional<std::string> Latin1FromUtf8(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      bytes += text[i];
      continue;
    }
    // Latin-1 beyond ASCII is two bytes: 0xC2 or 0xC3, then a continuation byte.
    if ((lead != 0xC2 && lead != 0xC3) || i + 1 == text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[++i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
  }
  return bytes;
}

std::string ShortestText(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

std::optional<std::int32_t> WholeFromText(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<float> FloatFromText(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  float value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vantrel
