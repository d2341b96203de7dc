#include "cli/cli_config_items.h"

#include <array>
#include <sstream>
#include <vector>

#include "cli/cli_terminal_text.h"
#include "config/value_tables.h"
#include "ops/write_configuration.h"

namespace vantrel::cli {
namespace {

using Cell = std::function<std::string(const PrinterConfig&, LengthUnit)>;

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

template <typename T>
ConfigItemRow MakeRow(const char* label, Item<T> PrinterConfig::*item, Cell cell) {
  return {
      label,
      std::move(cell),
      [item](const PrinterConfig& c) { return (c.*item).set(); },
      [item](const PrinterConfig& a, const PrinterConfig& b) {
        return (a.*item).value == (b.*item).value;
      },
      [item](PrinterConfig& into, const PrinterConfig& from) {
        (into.*item).value = (from.*item).value;
      },
      {},
  };
}

ConfigItemRow Plain(const char* label, IntItem PrinterConfig::*item) {
  return MakeRow(label, item, [item](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? Number((c.*item).value) : std::string(kUnset);
  });
}

ConfigItemRow Real(const char* label, RealItem PrinterConfig::*item, std::string suffix) {
  return MakeRow(label, item, [item, suffix](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? Number((c.*item).value) + suffix : std::string(kUnset);
  });
}

ConfigItemRow Character(const char* label, CharItem PrinterConfig::*item) {
  return MakeRow(label, item, [item](const PrinterConfig& c, LengthUnit) {
    return (c.*item).set() ? PrintableText(std::string_view(&(c.*item).value, 1))
                           : std::string(kUnset);
  });
}

// A length held in millimetres, shown in the chosen unit.
ConfigItemRow Millimetres(const char* label, RealItem PrinterConfig::*item) {
  ConfigItemRow row = MakeRow(label, item, [item](const PrinterConfig& c, LengthUnit unit) {
    return (c.*item).set() ? MmToText((c.*item).value, unit) + " " + UnitName(unit)
                           : std::string(kUnset);
  });
  row.millimetres = [item](const PrinterConfig& c) { return (c.*item).value; };
  return row;
}

// A length held in printer dots, shown in the chosen unit with the dots beside it.
ConfigItemRow Dots(const char* label, IntItem PrinterConfig::*item) {
  return MakeRow(label, item, [item](const PrinterConfig& c, LengthUnit unit) {
    if (!(c.*item).set()) return std::string(kUnset);
    const std::string shown = DotsToText((c.*item).value, unit, c);
    const std::string dots = Number((c.*item).value) + " dots";
    return shown.empty() ? dots : shown + " " + UnitName(unit) + " (" + dots + ")";
  });
}

// A list index; `first` is the value of the table's first entry.
ConfigItemRow Choice(const char* label, IntItem PrinterConfig::*item,
                     std::span<const std::string_view> names, int first = 0) {
  return MakeRow(label, item, [item, names, first](const PrinterConfig& c, LengthUnit) {
    if (!(c.*item).set()) return std::string(kUnset);
    // Below the first value there is no entry, and subtracting could overflow.
    const std::int32_t value = (c.*item).value;
    const std::string_view name = value >= first ? TableEntry(names, value - first) : "";
    return name.empty() ? "(" + Number((c.*item).value) + ")" : std::string(name);
  });
}

constexpr std::array<std::string_view, 3> kMediaSensors = {"Gap", "Bline", "Continuous"};
constexpr std::array<std::string_view, 4> kPostPrintActions = {"OFF", "TEAR", "PEEL", "CUTTER"};
constexpr std::array<std::string_view, 2> kOffOn = {"OFF", "ON"};
constexpr std::array<std::string_view, 3> kPrintModesZ = {"TEAR OFF", "PEEL OFF", "CUTTER"};
constexpr std::array<std::string_view, 4> kMediaActionsZ = {"FEED", "CALIBRATION", "LENGTH",
                                                            "NO MOTION"};
constexpr std::array<std::string_view, 3> kControlCodesD = {"Standard", "Alternate", "Alternate-2"};

using C = PrinterConfig;

const std::vector<ConfigItemRow>& CommonRows() {
  static const std::vector<ConfigItemRow> rows = {
      Real("Speed", &C::Speed, " ips"),
      Plain("Density", &C::Density),
      Plain("Density reference", &C::DensityBase),
      Millimetres("Paper Width", &C::PaperWidth),
      Millimetres("Paper Height", &C::PaperHeight),
      Choice("Media Sensor", &C::MediaSensor, kMediaSensors),
      Millimetres("Gap", &C::GapSize),
      Millimetres("Gap Offset", &C::GapOffset),
      Choice("Post-Print Action", &C::PostPrintAction, kPostPrintActions),
      Plain("Cut Piece", &C::CutPiece),
      Plain("Reference X (dots)", &C::ReferenceX),
      Plain("Reference Y (dots)", &C::ReferenceY),
      Plain("Direction", &C::Direction),
      Plain("Mirror", &C::Mirror),
      Plain("Offset (dots)", &C::Offset),
      Plain("Offset reference", &C::OffsetBase),
      Plain("Shift X (dots)", &C::ShiftX),
      Plain("Shift X reference", &C::ShiftXBase),
      Plain("Shift Y (dots)", &C::ShiftY),
      Plain("Shift Y reference", &C::ShiftYBase),
      Choice("Ribbon", &C::Ribbon, kOffOn),
      Choice("Code Page", &C::CodePage, kCodePageNames),
      Choice("Country Code", &C::CountryCode, kCountryCodes),
      Choice("Head-up Sensor", &C::HeadUpSensor, kOffOn),
      Choice("Reprint After Error", &C::ReprintAfterError, kOffOn),
      Plain("Gap Inten.", &C::GapInten),
      Plain("Bline Inten.", &C::BlineInten),
      Plain("Continuous Inten.", &C::ContinuousInten),
      Choice("Baud Rate", &C::BaudRate, kBaudRateNames),
      Choice("Data Bits", &C::DataBits, kDataBitNames),
      Choice("Parity", &C::Parity, kParityNames),
      Choice("Stop Bit(s)", &C::StopBits, kStopBitNames),
  };
  return rows;
}

const std::vector<ConfigItemRow>& ZRows() {
  static const std::vector<ConfigItemRow> rows = {
      Plain("Darkness", &C::DarknessZ),
      Plain("Print Speed", &C::PrintSpeedZ),
      Plain("Tear Off", &C::TearOffZ),
      Choice("Print Mode", &C::PrintModeZ, kPrintModesZ, 1),
      Dots("Print Width", &C::PrintWidthZ),
      Character("Control Prefix", &C::ControlPrefixZ),
      Character("Format Prefix", &C::FormatPrefixZ),
      Character("Delimiter Char", &C::DelimiterCharZ),
      Choice("Media Power Up", &C::MediaPowerUpZ, kMediaActionsZ, 1),
      Choice("Head Close", &C::HeadCloseZ, kMediaActionsZ, 1),
      Plain("Label Top", &C::LabelTopZ),
      Plain("Left Position", &C::LeftPositionZ),
  };
  return rows;
}

const std::vector<ConfigItemRow>& DRows() {
  static const std::vector<ConfigItemRow> rows = {
      Plain("Heat", &C::HeatD),
      Real("Print Speed", &C::PrintSpeedD, " ips"),
      Dots("Label Width", &C::LabelWidthD),
      Choice("Present Sensor", &C::PresentSensorD, kOffOn, 1),
      Choice("Cutter Equipped", &C::CutterEquippedD, kOffOn, 1),
      Choice("Control Codes", &C::ControlCodesD, kControlCodesD, 1),
      Dots("Column Offset", &C::ColumnOffsetD),
      Dots("Row Offset", &C::RowOffsetD),
  };
  return rows;
}

}  // namespace

std::span<const ConfigItemRow> ConfigPageRows(ConfigPage page) {
  switch (page) {
    case ConfigPage::kZ:
      return ZRows();
    case ConfigPage::kD:
      return DRows();
    case ConfigPage::kCommon:
      break;
  }
  return CommonRows();
}

std::string_view ConfigPageTitle(ConfigPage page) {
  constexpr std::array<std::string_view, 3> kTitles = {"Common", "Z emulation", "D emulation"};
  return kTitles[static_cast<std::size_t>(page)];
}

std::string_view ConfigPageName(ConfigPage page) {
  constexpr std::array<std::string_view, 3> kNames = {"common", "z", "d"};
  return kNames[static_cast<std::size_t>(page)];
}

std::optional<ConfigPage> ConfigPageNamed(std::string_view name) {
  for (const ConfigPage page : kConfigPages) {
    if (ConfigPageName(page) == name) return page;
  }
  return std::nullopt;
}

int ConfigPageBlock(ConfigPage page) {
  constexpr std::array<int, 3> kBlocks = {kBlockCommon, kBlockZ, kBlockD};
  return kBlocks[static_cast<std::size_t>(page)];
}

}  // namespace vantrel::cli
