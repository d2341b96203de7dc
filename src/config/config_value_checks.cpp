#include "config/config_value_checks.h"

#include <cmath>
#include <string_view>

namespace vantrel {
namespace {

std::string NotFinite(std::string_view name) {
  return std::string(name) + " is not a finite number";
}

std::string FieldRefusal(std::string_view name, float value) {
  return std::isfinite(value) ? std::string() : NotFinite(name);
}

std::string FieldRefusal(std::string_view name, const RealItem& item) {
  return item.set() ? FieldRefusal(name, item.value) : std::string();
}

std::string FieldRefusal(std::string_view name, const CharItem& item) {
  const auto byte = static_cast<unsigned char>(item.value);
  if (!item.set() || (byte >= 0x20 && byte != 0x7F)) return {};
  return std::string(name) + " is a control character";
}

template <typename Field>
std::string FieldRefusal(std::string_view, const Field&) {
  return {};
}

}  // namespace

std::string ConfigValueRefusal(const PrinterConfig& config) {
  std::string refusal;
  ForEachField(config, [&refusal](std::string_view name, const auto& field) {
    if (refusal.empty()) refusal = FieldRefusal(name, field);
  });
  return refusal;
}

}  // namespace vantrel
