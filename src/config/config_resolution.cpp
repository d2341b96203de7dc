#include "config/config_resolution.h"

#include <sstream>

#include "config/config_items.h"
#include "config/unit_conversions.h"

namespace vantrel {
namespace {

std::optional<std::int32_t> ConvertItem(const ConfigItem& item, std::int32_t dots, float from,
                                        float to) {
  if (item.kind != ItemKind::kDotsAsHundredths) return ConvertDots(dots, from, to);
  // The D emulation is told hundredths: the printer's dots must come to the same ones.
  constexpr float kHundredthsPerInch = 100;
  const std::optional<std::int32_t> hundredths = DotsToHundredthsInch(dots, from);
  if (!hundredths) return std::nullopt;
  return ConvertDots(*hundredths, kHundredthsPerInch, to);
}

std::string DpiNumber(float dpi) {
  std::ostringstream text;
  text << dpi;
  return text.str();
}

}  // namespace

DocumentAtPrinter DocumentAtResolution(const PrinterConfig& document,
                                       const PrinterConfig& printer) {
  DocumentAtPrinter result{document, {}, {}};
  const float from = document.Dpi.value;
  const float to = printer.Dpi.value;
  if (from == to) return result;
  result.conversion = "converted from " + DpiNumber(from) + " to " + ResolutionText(printer);
  result.config.Dpi.value = to;
  result.config.DotsPerMm = printer.DotsPerMm;
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      IntItem* dots = DotsField(item, result.config);
      if (dots == nullptr || !dots->set()) continue;
      const std::optional<std::int32_t> converted = ConvertItem(item, dots->value, from, to);
      if (!converted) {
        result.failure = std::string(ConfigPageTitle(page)) + " / " + item.label + " (" +
                         std::to_string(dots->value) + " dots) cannot be " + result.conversion;
        return result;
      }
      dots->value = *converted;
    }
  }
  return result;
}

std::string ResolutionText(const PrinterConfig& config) {
  return DpiNumber(config.Dpi.value) + " dpi";
}

}  // namespace vantrel
