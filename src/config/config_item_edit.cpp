#include "config/config_item_edit.h"

#include <cstdio>

#include "config/config_item_text.h"

namespace vantrel {
namespace {

double StoredNumber(const ConfigItem& item, const PrinterConfig& config) {
  return std::visit([&](auto member) { return static_cast<double>((config.*member).value); },
                    item.field);
}

std::string RangeRefusal(const ConfigItem& item, const PrinterConfig& config) {
  const std::optional<ItemRange> range = ItemEditRange(item.field);
  const double value = StoredNumber(item, config);
  if (!range || (value >= range->low && value <= range->high)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "must be from %g to %g%s", range->low, range->high,
                item.kind == ItemKind::kMillimetres ? " mm" : "");
  return text;
}

// The window takes no C1 control character either: it has no meaning in the command language.
std::string CharacterRefusal(const ConfigItem& item, const PrinterConfig& config) {
  if (item.kind != ItemKind::kCharacter) return {};
  const char value = (config.*std::get<CharItem PrinterConfig::*>(item.field)).value;
  const auto byte = static_cast<unsigned char>(value);
  if (byte >= 0x80 && byte < 0xA0) return "a control character cannot be set";
  return {};
}

std::string EditRefusal(PrinterConfig& config, std::string_view assignment) {
  const std::size_t equals = assignment.find('=');
  const std::string_view key = assignment.substr(0, equals);
  if (equals == std::string_view::npos) {
    return JsonString(assignment) + ": an edit reads KEY=VALUE";
  }
  const ConfigItem* item = ItemWithKey(key);
  if (item == nullptr) return JsonString(key) + ": no item has this key";
  const std::string prefix = std::string(key) + ": ";
  if (!item->written) return prefix + "the printer reports this value and takes none";
  const std::string_view value = assignment.substr(equals + 1);
  if (value.empty()) {
    SetItemFlag(*item, config, 0);
    return {};
  }
  std::string refusal = StoreItemValue(*item, {value}, config);
  if (refusal.empty()) {
    SetItemFlag(*item, config, 1);
    refusal = ItemValueRefusal(*item, config);
  }
  if (refusal.empty()) refusal = RangeRefusal(*item, config);
  if (refusal.empty()) refusal = CharacterRefusal(*item, config);
  return refusal.empty() ? refusal : prefix + refusal;
}

}  // namespace

std::string ApplyConfigEdits(PrinterConfig& config, std::span<const std::string> assignments) {
  PrinterConfig edited = config;
  for (const std::string& assignment : assignments) {
    if (std::string refusal = EditRefusal(edited, assignment); !refusal.empty()) return refusal;
  }
  config = edited;
  return {};
}

}  // namespace vantrel
