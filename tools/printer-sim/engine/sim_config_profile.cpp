#include "engine/sim_config_profile.h"

#include <nlohmann/json.hpp>

#include "engine/sim_profile.h"

namespace vantrel::sim {
namespace {

using nlohmann::json;

const std::string& ReadText(const json& value, const std::string& name) {
  if (!value.is_string()) throw SimProfileError(name + " must be a string, not " + value.dump());
  return value.get_ref<const std::string&>();
}

void ApplyReports(const json& value, SimConfigState& config) {
  if (!value.is_object()) throw SimProfileError("config.reports must be an object");
  for (const auto& [name, answer] : value.items()) {
    config.reports.insert_or_assign(name, ReadText(answer, "config.reports." + name));
  }
}

void ApplyUnknown(const json& value, SimConfigState& config) {
  if (!value.is_array()) throw SimProfileError("config.unknown must be an array of names");
  for (const json& name : value) config.reports.erase(ReadText(name, "config.unknown[]"));
}

}  // namespace

void ApplySimConfigProfile(const json& value, SimConfigState& config) {
  if (!value.is_object()) throw SimProfileError("config must be a JSON object");
  for (const auto& [key, item] : value.items()) {
    if (key == "reports") {
      ApplyReports(item, config);
    } else if (key == "unknown") {
      ApplyUnknown(item, config);
    } else if (key == "serial") {
      config.serial_number =
          item.is_null() ? std::nullopt : std::optional(ReadText(item, "config.serial"));
    } else {
      throw SimProfileError("unknown config key \"" + key + "\"");
    }
  }
}

}  // namespace vantrel::sim
