#include "cli/config/config_text.h"

#include <iomanip>
#include <string>

#include "cli/common/terminal_text.h"
#include "cli/config/config_items.h"
#include "config/config_resolution.h"

namespace vantrel::cli {
namespace {

void PrintPage(std::ostream& out, ConfigPage page, const PrinterConfig& config, LengthUnit unit) {
  out << '\n' << ConfigPageTitle(page) << '\n';
  for (const ConfigItem& item : ConfigPageItems(page)) {
    out << "  " << std::left << std::setw(22) << item.label << ItemCell(item, config, unit) << '\n';
  }
}

}  // namespace

LengthUnit UnitNamed(std::string_view name) {
  return name == "mm" ? kUnitMm : kUnitInch;
}

LengthUnit ShownUnit(std::int32_t unit_index) {
  return unit_index == kUnitMm ? kUnitMm : kUnitInch;
}

void PrintConfigText(std::ostream& out, const PrinterConfig& config, LengthUnit unit) {
  out << "Printer\n";
  out << "  " << std::left << std::setw(22) << "Version" << PrintableText(TextView(config.Version))
      << '\n';
  out << "  " << std::setw(22) << "Milage" << PrintableText(TextView(config.Milage)) << " km\n";
  out << "  " << std::setw(22) << "Check Sum" << PrintableText(TextView(config.Checksum)) << '\n';
  out << "  " << std::setw(22) << "Serial No." << PrintableText(TextView(config.SerialNo)) << '\n';
  out << "  " << std::setw(22) << "Resolution";
  if (config.Dpi.set()) {
    out << ResolutionText(config);
  } else {
    out << '-';
  }
  out << ", " << config.DotsPerMm << " dots/mm\n";
  out << "  " << std::setw(22) << "Edition" << config.Edition << '\n';
  for (const ConfigPage page : kConfigPages) PrintPage(out, page, config, unit);
}

}  // namespace vantrel::cli
