#include "config/config_compare.h"

#include <cmath>

#include "config/unit_conversions.h"

namespace vantrel {
namespace {

bool SameDots(std::int32_t a, float a_dpi, std::int32_t b, float b_dpi) {
  if (a_dpi == b_dpi) return a == b;
  return ConvertDots(a, a_dpi, b_dpi) == b || ConvertDots(b, b_dpi, a_dpi) == a;
}

bool SameHundredths(std::int32_t a, float a_dpi, std::int32_t b, float b_dpi) {
  const std::optional<std::int32_t> a_hundredths = DotsToHundredthsInch(a, a_dpi);
  return a_hundredths && a_hundredths == DotsToHundredthsInch(b, b_dpi);
}

long double NearestDot(float mm, float dots_per_mm) {
  return std::floor(static_cast<long double>(mm) * dots_per_mm + 0.5L);
}

bool SameMillimetres(float a, float b, const PrinterConfig& ca, const PrinterConfig& cb) {
  const std::string shown = MmToText(a, kUnitMm);
  if (!shown.empty() && shown == MmToText(b, kUnitMm)) return true;
  for (const float dots_per_mm : {ca.DotsPerMm, cb.DotsPerMm}) {
    if (std::isfinite(dots_per_mm) && dots_per_mm > 0 &&
        NearestDot(a, dots_per_mm) == NearestDot(b, dots_per_mm)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool SameItemValue(const ConfigItem& item, const PrinterConfig& a, const PrinterConfig& b) {
  switch (item.kind) {
    case ItemKind::kMillimetres: {
      const auto member = std::get<RealItem PrinterConfig::*>(item.field);
      return SameMillimetres((a.*member).value, (b.*member).value, a, b);
    }
    case ItemKind::kDotsAsHundredths:
      if (SameHundredths(DotsField(item, a)->value, a.Dpi.value, DotsField(item, b)->value,
                         b.Dpi.value)) {
        return true;
      }
      [[fallthrough]];
    case ItemKind::kPlainDots:
    case ItemKind::kDots:
      return SameDots(DotsField(item, a)->value, a.Dpi.value, DotsField(item, b)->value,
                      b.Dpi.value);
    default:
      return ItemValuesEqual(item, a, b);
  }
}

ConfigDifferences CompareDocuments(const PrinterConfig& a, const PrinterConfig& b,
                                   std::span<const ConfigPage> pages) {
  ConfigDifferences result;
  for (const ConfigPage page : pages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      const bool in_a = ItemIsSet(item, a);
      if (in_a != ItemIsSet(item, b) || (in_a && !SameItemValue(item, a, b))) {
        result.differing.push_back(&item);
      }
    }
  }
  return result;
}

ConfigDifferences CompareWithPrinter(const PrinterConfig& document, const PrinterConfig& printer,
                                     std::span<const ConfigPage> pages) {
  ConfigDifferences result;
  for (const ConfigPage page : pages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      if (!item.written || !ItemIsSet(item, document)) continue;
      if (!ItemIsSet(item, printer)) {
        result.unreported.push_back(&item);
      } else if (!SameItemValue(item, document, printer)) {
        result.differing.push_back(&item);
      }
    }
  }
  return result;
}

}  // namespace vantrel
