#include "cli/fleet/planned_changes.h"

#include <nlohmann/json.hpp>

#include "config/config_item_text.h"

namespace vantrel::cli {

std::string PlannedValue(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit) {
  const std::string json = ItemValueJson(item, config, unit);
  if (json.empty()) return "(not a number)";
  const nlohmann::json value = nlohmann::json::parse(json);
  std::string text = value.is_string() ? value.get<std::string>() : json;
  const IntItem* dots = DotsField(item, config);
  if (dots != nullptr && !text.ends_with("dots")) text += " (" + std::to_string(dots->value) + ")";
  return text;
}

std::vector<PlannedChange> PlannedChanges(const ConfigDifferences& changes,
                                          const PrinterConfig& held, const PrinterConfig& written,
                                          LengthUnit unit) {
  std::vector<PlannedChange> planned;
  for (const ConfigItem* item : changes.differing) {
    planned.push_back(
        {item->label, PlannedValue(*item, held, unit), PlannedValue(*item, written, unit)});
  }
  for (const ConfigItem* item : changes.unreported) {
    planned.push_back({item->label, std::nullopt, PlannedValue(*item, written, unit)});
  }
  return planned;
}

std::string PlannedChangeText(const PlannedChange& change) {
  return change.item + ' ' + change.old_value.value_or("(not reported)") + " -> " +
         change.new_value;
}

}  // namespace vantrel::cli
