#include "config/config_value_checks.h"

#include <cmath>
#include <cstdio>
#include <string_view>
#include <type_traits>

#include "config/value_tables.h"

namespace vantrel {
namespace {

// The widest number a printer reports has five digits: a damaged value lies far beyond it.
constexpr std::int32_t kLargestNumber = 99999;

struct ChoiceRange {
  IntItem PrinterConfig::*item;
  std::int32_t low;
  std::int32_t high;
};

// A name read from the printer that its table lacks is kept as the table's length, shown empty
// and never sent (see StoreMatch): that value is one of the item's own.
constexpr std::int32_t OnePastTable(std::span<const std::string_view> table) {
  return static_cast<std::int32_t>(table.size());
}

using C = PrinterConfig;

// Every choice item and the values of its list.
constexpr ChoiceRange kChoices[] = {
    {&C::Density, 0, 15},
    {&C::MediaSensor, 0, 2},
    {&C::PostPrintAction, 0, 3},
    {&C::Direction, 0, 1},
    {&C::Mirror, 0, 1},
    {&C::Ribbon, 0, 1},
    {&C::CodePage, 0, OnePastTable(kCodePageNames)},
    {&C::CountryCode, 0, OnePastTable(kCountryCodes)},
    {&C::HeadUpSensor, 0, 1},
    {&C::ReprintAfterError, 0, 1},
    {&C::BaudRate, 0, OnePastTable(kBaudRateNames)},
    {&C::DataBits, 0, OnePastTable(kDataBitNames)},
    {&C::Parity, 0, OnePastTable(kParityNames)},
    {&C::StopBits, 0, OnePastTable(kStopBitNames)},
    {&C::PrintModeZ, 1, 3},
    {&C::MediaPowerUpZ, 1, 4},
    {&C::HeadCloseZ, 1, 4},
    {&C::PresentSensorD, 1, 2},
    {&C::CutterEquippedD, 1, 2},
    {&C::ControlCodesD, 1, 3},
};

std::string Outside(std::string_view name, const std::string& value, double low, double high) {
  char range[48];
  std::snprintf(range, sizeof(range), " is outside %.0f..%.0f", low, high);
  return std::string(name) + " " + value + range;
}

std::string NotFinite(std::string_view name) {
  return std::string(name) + " is not a finite number";
}

std::string FieldRefusal(std::string_view name, float value) {
  return std::isfinite(value) ? std::string() : NotFinite(name);
}

std::string FieldRefusal(std::string_view name, const RealItem& item) {
  if (!item.set()) return {};
  if (!std::isfinite(item.value)) return NotFinite(name);
  if (std::fabs(item.value) <= kLargestNumber) return {};
  char value[32];
  std::snprintf(value, sizeof(value), "%g", static_cast<double>(item.value));
  return Outside(name, value, -kLargestNumber, kLargestNumber);
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

std::string ItemRefusal(const PrinterConfig& config, std::string_view name, const IntItem& item) {
  if (!item.set()) return {};
  std::int32_t low = -kLargestNumber;
  std::int32_t high = kLargestNumber;
  for (const ChoiceRange& choice : kChoices) {
    if (&(config.*choice.item) == &item) {
      low = choice.low;
      high = choice.high;
    }
  }
  if (item.value >= low && item.value <= high) return {};
  return Outside(name, std::to_string(item.value), low, high);
}

}  // namespace

std::string ConfigValueRefusal(const PrinterConfig& config) {
  std::string refusal;
  ForEachField(config, [&](std::string_view name, const auto& field) {
    if (!refusal.empty()) return;
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, IntItem>) {
      refusal = ItemRefusal(config, name, field);
    } else {
      refusal = FieldRefusal(name, field);
    }
  });
  return refusal;
}

}  // namespace vantrel
