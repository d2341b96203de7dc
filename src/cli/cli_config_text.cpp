#include "cli/cli_config_text.h"

#include <array>
#include <functional>
#include <iomanip>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_terminal_text.h"
#include "config/value_tables.h"

namespace vantrel::cli {
namespace {

using Cell = std::function<std::string(const PrinterConfig&, LengthUnit)>;

struct Row {
  const char* label;
  Cell cell;
};

constexpr std::string_view kUnset = "-";

std::string UnitName(LengthUnit unit) {
  return unit == kUnitMm ? "mm" : "in";
}

template <typename T>
std::string Number(T value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

Cell Plain(IntItem PrinterConfig::*item) {
  return [item](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? Number((c.*item).value) : std::string(kUnset);
  };
}

Cell Real(RealItem PrinterConfig::*item, std::string suffix = "") {
  return [item, suffix](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? Number((c.*item).value) + suffix : std::string(kUnset);
  };
}

Cell Character(CharItem PrinterConfig::*item) {
  return [item](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? PrintableText(std::string_view(&(c.*item).value, 1))
                           : std::string(kUnset);
  };
}

// A length held in millimetres, shown in the chosen unit.
Cell Millimetres(RealItem PrinterConfig::*item) {
  return [item](const PrinterConfig& c, LengthUnit unit) {
    return (c.*item).set() ? MmToText((c.*item).value, unit) + " " + UnitName(unit)
                           : std::string(kUnset);
  };
}

// A length held in printer dots, shown in the chosen unit with the dots beside it.
Cell Dots(IntItem PrinterConfig::*item) {
  return [item](const PrinterConfig& c, LengthUnit unit) {
    if (!(c.*item).set()) return std::string(kUnset);
    const std::string shown = DotsToText((c.*item).value, unit, c);
    const std::string dots = Number((c.*item).value) + " dots";
    return shown.empty() ? dots : shown + " " + UnitName(unit) + " (" + dots + ")";
  };
}

// A list index; `first` is the value of the table's first entry.
Cell Choice(IntItem PrinterConfig::*item, std::span<const std::string_view> names, int first = 0) {
  return [item, names, first](const PrinterConfig& c, LengthUnit) {
    if (!(c.*item).set()) return std::string(kUnset);
    // Below the first value there is no entry, and subtracting could overflow.
    const std::int32_t value = (c.*item).value;
    const std::string_view name = value >= first ? TableEntry(names, value - first) : "";
    return name.empty() ? "(" + Number((c.*item).value) + ")" : std::string(name);
  };
}

constexpr std::array<std::string_view, 3> kMediaSensors = {"Gap", "Bline", "Continuous"};
constexpr std::array<std::string_view, 4> kPostPrintActions = {"OFF", "TEAR", "PEEL", "CUTTER"};
constexpr std::array<std::string_view, 2> kOffOn = {"OFF", "ON"};
constexpr std::array<std::string_view, 3> kPrintModesZ = {"TEAR OFF", "PEEL OFF", "CUTTER"};
constexpr std::array<std::string_view, 4> kMediaActionsZ = {"FEED", "CALIBRATION", "LENGTH",
                                                            "NO MOTION"};
constexpr std::array<std::string_view, 3> kControlCodesD = {"Standard", "Alternate", "Alternate-2"};

const std::vector<Row>& CommonRows() {
  static const std::vector<Row> rows = {
      {"Speed", Real(&PrinterConfig::Speed, " ips")},
      {"Density", Plain(&PrinterConfig::Density)},
      {"Density reference", Plain(&PrinterConfig::DensityBase)},
      {"Paper Width", Millimetres(&PrinterConfig::PaperWidth)},
      {"Paper Height", Millimetres(&PrinterConfig::PaperHeight)},
      {"Media Sensor", Choice(&PrinterConfig::MediaSensor, kMediaSensors)},
      {"Gap", Millimetres(&PrinterConfig::GapSize)},
      {"Gap Offset", Millimetres(&PrinterConfig::GapOffset)},
      {"Post-Print Action", Choice(&PrinterConfig::PostPrintAction, kPostPrintActions)},
      {"Cut Piece", Plain(&PrinterConfig::CutPiece)},
      {"Reference X (dots)", Plain(&PrinterConfig::ReferenceX)},
      {"Reference Y (dots)", Plain(&PrinterConfig::ReferenceY)},
      {"Direction", Plain(&PrinterConfig::Direction)},
      {"Mirror", Plain(&PrinterConfig::Mirror)},
      {"Offset (dots)", Plain(&PrinterConfig::Offset)},
      {"Offset reference", Plain(&PrinterConfig::OffsetBase)},
      {"Shift X (dots)", Plain(&PrinterConfig::ShiftX)},
      {"Shift X reference", Plain(&PrinterConfig::ShiftXBase)},
      {"Shift Y (dots)", Plain(&PrinterConfig::ShiftY)},
      {"Shift Y reference", Plain(&PrinterConfig::ShiftYBase)},
      {"Ribbon", Choice(&PrinterConfig::Ribbon, kOffOn)},
      {"Code Page", Choice(&PrinterConfig::CodePage, kCodePageNames)},
      {"Country Code", Choice(&PrinterConfig::CountryCode, kCountryCodes)},
      {"Head-up Sensor", Choice(&PrinterConfig::HeadUpSensor, kOffOn)},
      {"Reprint After Error", Choice(&PrinterConfig::ReprintAfterError, kOffOn)},
      {"Gap Inten.", Plain(&PrinterConfig::GapInten)},
      {"Bline Inten.", Plain(&PrinterConfig::BlineInten)},
      {"Continuous Inten.", Plain(&PrinterConfig::ContinuousInten)},
      {"Baud Rate", Choice(&PrinterConfig::BaudRate, kBaudRateNames)},
      {"Data Bits", Choice(&PrinterConfig::DataBits, kDataBitNames)},
      {"Parity", Choice(&PrinterConfig::Parity, kParityNames)},
      {"Stop Bit(s)", Choice(&PrinterConfig::StopBits, kStopBitNames)},
  };
  return rows;
}

const std::vector<Row>& ZRows() {
  static const std::vector<Row> rows = {
      {"Darkness", Plain(&PrinterConfig::DarknessZ)},
      {"Print Speed", Plain(&PrinterConfig::PrintSpeedZ)},
      {"Tear Off", Plain(&PrinterConfig::TearOffZ)},
      {"Print Mode", Choice(&PrinterConfig::PrintModeZ, kPrintModesZ, 1)},
      {"Print Width", Dots(&PrinterConfig::PrintWidthZ)},
      {"Control Prefix", Character(&PrinterConfig::ControlPrefixZ)},
      {"Format Prefix", Character(&PrinterConfig::FormatPrefixZ)},
      {"Delimiter Char", Character(&PrinterConfig::DelimiterCharZ)},
      {"Media Power Up", Choice(&PrinterConfig::MediaPowerUpZ, kMediaActionsZ, 1)},
      {"Head Close", Choice(&PrinterConfig::HeadCloseZ, kMediaActionsZ, 1)},
      {"Label Top", Plain(&PrinterConfig::LabelTopZ)},
      {"Left Position", Plain(&PrinterConfig::LeftPositionZ)},
  };
  return rows;
}

const std::vector<Row>& DRows() {
  static const std::vector<Row> rows = {
      {"Heat", Plain(&PrinterConfig::HeatD)},
      {"Print Speed", Real(&PrinterConfig::PrintSpeedD, " ips")},
      {"Label Width", Dots(&PrinterConfig::LabelWidthD)},
      {"Present Sensor", Choice(&PrinterConfig::PresentSensorD, kOffOn, 1)},
      {"Cutter Equipped", Choice(&PrinterConfig::CutterEquippedD, kOffOn, 1)},
      {"Control Codes", Choice(&PrinterConfig::ControlCodesD, kControlCodesD, 1)},
      {"Column Offset", Dots(&PrinterConfig::ColumnOffsetD)},
      {"Row Offset", Dots(&PrinterConfig::RowOffsetD)},
  };
  return rows;
}

void PrintPage(std::ostream& out, const char* title, const std::vector<Row>& rows,
               const PrinterConfig& config, LengthUnit unit) {
  out << '\n' << title << '\n';
  for (const Row& row : rows) {
    out << "  " << std::left << std::setw(22) << row.label << row.cell(config, unit) << '\n';
  }
}

}  // namespace

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
  out << "  " << std::setw(22) << "Resolution"
      << (config.Dpi.set() ? Number(config.Dpi.value) + " dpi" : std::string(kUnset)) << ", "
      << config.DotsPerMm << " dots/mm\n";
  out << "  " << std::setw(22) << "Edition" << config.Edition << '\n';
  PrintPage(out, "Common", CommonRows(), config, unit);
  PrintPage(out, "Z emulation", ZRows(), config, unit);
  PrintPage(out, "D emulation", DRows(), config, unit);
}

}  // namespace vantrel::cli
