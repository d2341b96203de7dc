#include "cli/config/config_json.h"

#include "cli/common/json.h"

namespace vantrel::cli {
namespace {

nlohmann::json FieldJson(std::int32_t value) {
  return value;
}
nlohmann::json FieldJson(float value) {
  return ShortestFloat(value);
}
nlohmann::json FieldJson(char value) {
  return PrinterText(std::string_view(&value, 1));
}

template <std::size_t N>
nlohmann::json FieldJson(const Text<N>& text) {
  return PrinterText(TextView(text));
}

template <typename T>
nlohmann::json FieldJson(const Item<T>& item) {
  return item.set() ? FieldJson(item.value) : nlohmann::json(nullptr);
}

}  // namespace

nlohmann::json ConfigJson(const PrinterConfig& config) {
  nlohmann::json json = nlohmann::json::object();
  ForEachField(config,
               [&json](const char* name, const auto& field) { json[name] = FieldJson(field); });
  return json;
}

}  // namespace vantrel::cli
