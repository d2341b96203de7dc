#include "cli/config/config_items.h"

#include <sstream>

#include "cli/common/terminal_text.h"
#include "config/value_tables.h"

namespace vantrel::cli {
namespace {

std::string UnitName(LengthUnit unit) {
  return unit == kUnitMm ? "mm" : "in";
}

template <typename T>
std::string Number(T value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

std::string ChoiceCell(const ConfigItem& item, std::int32_t value) {
  // Below the first value there is no entry, and subtracting could overflow.
  const std::string_view name =
      value >= item.first ? TableEntry(item.names, value - item.first) : "";
  return name.empty() ? "(" + Number(value) + ")" : std::string(name);
}

std::string DotsCell(std::int32_t dots, LengthUnit unit, const PrinterConfig& config) {
  const std::string shown = DotsToText(dots, unit, config);
  const std::string text = Number(dots) + " dots";
  return shown.empty() ? text : shown + " " + UnitName(unit) + " (" + text + ")";
}

std::string IntCell(const ConfigItem& item, std::int32_t value, const PrinterConfig& config,
                    LengthUnit unit) {
  switch (item.kind) {
    case ItemKind::kChoice:
      return ChoiceCell(item, value);
    case ItemKind::kDots:
    case ItemKind::kDotsAsHundredths:
      return DotsCell(value, unit, config);
    default:
      return Number(value);
  }
}

std::string RealCell(const ConfigItem& item, float value, LengthUnit unit) {
  if (item.kind == ItemKind::kMillimetres) return MmToText(value, unit) + " " + UnitName(unit);
  return Number(value) + " ips";
}

}  // namespace

std::string ItemCell(const ConfigItem& item, const PrinterConfig& config, LengthUnit unit) {
  if (!ItemIsSet(item, config)) return "-";
  return std::visit(
      [&](auto member) -> std::string {
        const auto value = (config.*member).value;
        if constexpr (std::is_same_v<decltype(value), const char>) {
          return PrintableText(std::string_view(&value, 1));
        } else if constexpr (std::is_same_v<decltype(value), const float>) {
          return RealCell(item, value, unit);
        } else {
          return IntCell(item, value, config, unit);
        }
      },
      item.field);
}

}  // namespace vantrel::cli
