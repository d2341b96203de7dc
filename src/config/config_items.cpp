#include "config/config_items.h"

#include <algorithm>

#include "config/value_tables.h"

namespace vantrel {
namespace {

using C = PrinterConfig;
using K = ItemKind;
using P = ConfigPage;

constexpr std::array<std::string_view, 3> kMediaSensors = {"Gap", "Bline", "Continuous"};
constexpr std::array<std::string_view, 4> kPostPrintActions = {"OFF", "TEAR", "PEEL", "CUTTER"};
constexpr std::array<std::string_view, 2> kOffOn = {"OFF", "ON"};
constexpr std::array<std::string_view, 3> kPrintModesZ = {"TEAR OFF", "PEEL OFF", "CUTTER"};
constexpr std::array<std::string_view, 4> kMediaActionsZ = {"FEED", "CALIBRATION", "LENGTH",
                                                            "NO MOTION"};
constexpr std::array<std::string_view, 3> kControlCodesD = {"Standard", "Alternate", "Alternate-2"};

// In the order the page shows them.
const ConfigItem kCommonItems[] = {
    {"Speed", "Speed", P::kCommon, K::kReal, &C::Speed},
    {"Density", "Density", P::kCommon, K::kNumber, &C::Density},
    {"DensityBase", "Density reference", P::kCommon, K::kNumber, &C::DensityBase, {}, 0, false},
    {"PaperWidth", "Paper Width", P::kCommon, K::kMillimetres, &C::PaperWidth},
    {"PaperHeight", "Paper Height", P::kCommon, K::kMillimetres, &C::PaperHeight},
    {"MediaSensor", "Media Sensor", P::kCommon, K::kChoice, &C::MediaSensor, kMediaSensors},
    {"GapSize", "Gap", P::kCommon, K::kMillimetres, &C::GapSize},
    {"GapOffset", "Gap Offset", P::kCommon, K::kMillimetres, &C::GapOffset},
    {"PostPrintAction", "Post-Print Action", P::kCommon, K::kChoice, &C::PostPrintAction,
     kPostPrintActions},
    {"CutPiece", "Cut Piece", P::kCommon, K::kNumber, &C::CutPiece},
    {"ReferenceX", "Reference X (dots)", P::kCommon, K::kPlainDots, &C::ReferenceX},
    {"ReferenceY", "Reference Y (dots)", P::kCommon, K::kPlainDots, &C::ReferenceY},
    {"Direction", "Direction", P::kCommon, K::kNumber, &C::Direction},
    {"Mirror", "Mirror", P::kCommon, K::kNumber, &C::Mirror},
    {"Offset", "Offset (dots)", P::kCommon, K::kPlainDots, &C::Offset},
    {"OffsetBase", "Offset reference", P::kCommon, K::kNumber, &C::OffsetBase, {}, 0, false},
    {"ShiftX", "Shift X (dots)", P::kCommon, K::kPlainDots, &C::ShiftX},
    {"ShiftXBase", "Shift X reference", P::kCommon, K::kNumber, &C::ShiftXBase, {}, 0, false},
    {"ShiftY", "Shift Y (dots)", P::kCommon, K::kPlainDots, &C::ShiftY},
    {"ShiftYBase", "Shift Y reference", P::kCommon, K::kNumber, &C::ShiftYBase, {}, 0, false},
    {"Ribbon", "Ribbon", P::kCommon, K::kChoice, &C::Ribbon, kOffOn},
    {"CodePage", "Code Page", P::kCommon, K::kChoice, &C::CodePage, kCodePageNames},
    {"CountryCode", "Country Code", P::kCommon, K::kChoice, &C::CountryCode, kCountryCodes},
    {"HeadUpSensor", "Head-up Sensor", P::kCommon, K::kChoice, &C::HeadUpSensor, kOffOn},
    {"ReprintAfterError", "Reprint After Error", P::kCommon, K::kChoice, &C::ReprintAfterError,
     kOffOn},
    {"GapInten", "Gap Inten.", P::kCommon, K::kNumber, &C::GapInten},
    {"BlineInten", "Bline Inten.", P::kCommon, K::kNumber, &C::BlineInten},
    {"ContinuousInten", "Continuous Inten.", P::kCommon, K::kNumber, &C::ContinuousInten},
    {"BaudRate", "Baud Rate", P::kCommon, K::kChoice, &C::BaudRate, kBaudRateNames},
    {"DataBits", "Data Bits", P::kCommon, K::kChoice, &C::DataBits, kDataBitNames},
    {"Parity", "Parity", P::kCommon, K::kChoice, &C::Parity, kParityNames},
    {"StopBits", "Stop Bit(s)", P::kCommon, K::kChoice, &C::StopBits, kStopBitNames},
};

const ConfigItem kZItems[] = {
    {"DarknessZ", "Darkness", P::kZ, K::kNumber, &C::DarknessZ},
    {"PrintSpeedZ", "Print Speed", P::kZ, K::kNumber, &C::PrintSpeedZ},
    {"TearOffZ", "Tear Off", P::kZ, K::kNumber, &C::TearOffZ},
    {"PrintModeZ", "Print Mode", P::kZ, K::kChoice, &C::PrintModeZ, kPrintModesZ, 1},
    {"PrintWidthZ", "Print Width", P::kZ, K::kDots, &C::PrintWidthZ},
    {"ControlPrefixZ", "Control Prefix", P::kZ, K::kCharacter, &C::ControlPrefixZ},
    {"FormatPrefixZ", "Format Prefix", P::kZ, K::kCharacter, &C::FormatPrefixZ},
    {"DelimiterCharZ", "Delimiter Char", P::kZ, K::kCharacter, &C::DelimiterCharZ},
    {"MediaPowerUpZ", "Media Power Up", P::kZ, K::kChoice, &C::MediaPowerUpZ, kMediaActionsZ, 1},
    {"HeadCloseZ", "Head Close", P::kZ, K::kChoice, &C::HeadCloseZ, kMediaActionsZ, 1},
    {"LabelTopZ", "Label Top", P::kZ, K::kNumber, &C::LabelTopZ},
    {"LeftPositionZ", "Left Position", P::kZ, K::kNumber, &C::LeftPositionZ},
};

const ConfigItem kDItems[] = {
    {"HeatD", "Heat", P::kD, K::kNumber, &C::HeatD},
    {"PrintSpeedD", "Print Speed", P::kD, K::kReal, &C::PrintSpeedD},
    {"LabelWidthD", "Label Width", P::kD, K::kDotsAsHundredths, &C::LabelWidthD},
    {"PresentSensorD", "Present Sensor", P::kD, K::kChoice, &C::PresentSensorD, kOffOn, 1},
    {"CutterEquippedD", "Cutter Equipped", P::kD, K::kChoice, &C::CutterEquippedD, kOffOn, 1},
    {"ControlCodesD", "Control Codes", P::kD, K::kChoice, &C::ControlCodesD, kControlCodesD, 1},
    {"ColumnOffsetD", "Column Offset", P::kD, K::kDotsAsHundredths, &C::ColumnOffsetD},
    {"RowOffsetD", "Row Offset", P::kD, K::kDotsAsHundredths, &C::RowOffsetD},
};

// Calls use(item-of-the-record) with the item the field names, const as the record is.
template <typename Config, typename Use>
auto WithField(const ConfigItem& item, Config& config, Use&& use) {
  return std::visit([&](auto member) { return use(config.*member); }, item.field);
}

}  // namespace

std::span<const ConfigItem> ConfigPageItems(ConfigPage page) {
  switch (page) {
    case ConfigPage::kZ:
      return kZItems;
    case ConfigPage::kD:
      return kDItems;
    case ConfigPage::kCommon:
      break;
  }
  return kCommonItems;
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

std::vector<ConfigPage> ConfigPagesNamed(std::string_view name) {
  if (const std::optional<ConfigPage> page = ConfigPageNamed(name)) return {*page};
  return {kConfigPages.begin(), kConfigPages.end()};
}

bool ItemIsSet(const ConfigItem& item, const PrinterConfig& config) {
  return WithField(item, config, [](const auto& field) { return field.set(); });
}

bool ItemValuesEqual(const ConfigItem& item, const PrinterConfig& a, const PrinterConfig& b) {
  return std::visit([&](auto member) { return (a.*member).value == (b.*member).value; },
                    item.field);
}

void CopyItemValue(const ConfigItem& item, PrinterConfig& into, const PrinterConfig& from) {
  std::visit([&](auto member) { (into.*member).value = (from.*member).value; }, item.field);
}

bool HeldInDots(const ConfigItem& item) {
  return item.kind == ItemKind::kPlainDots || item.kind == ItemKind::kDots ||
         item.kind == ItemKind::kDotsAsHundredths;
}

IntItem* DotsField(const ConfigItem& item, PrinterConfig& config) {
  if (!HeldInDots(item)) return nullptr;
  return &(config.*std::get<IntItem PrinterConfig::*>(item.field));
}

const IntItem* DotsField(const ConfigItem& item, const PrinterConfig& config) {
  if (!HeldInDots(item)) return nullptr;
  return &(config.*std::get<IntItem PrinterConfig::*>(item.field));
}

bool PageSetsAnything(const PrinterConfig& config, ConfigPage page) {
  const auto items = ConfigPageItems(page);
  return std::any_of(items.begin(), items.end(), [&config](const ConfigItem& item) {
    return item.written && ItemIsSet(item, config);
  });
}

std::string PageRefusal(const PrinterConfig& config, ConfigPage page, std::string_view what) {
  if (PageSetsAnything(config, page)) return {};
  return std::string(what) + " sets nothing on the " + std::string(ConfigPageTitle(page)) + " page";
}

std::string ItemList(const std::vector<const ConfigItem*>& items) {
  std::string list;
  for (const ConfigItem* item : items) {
    if (!list.empty()) list += ", ";
    list += std::string(ConfigPageTitle(item->page)) + " / " + item->label;
  }
  return list;
}

std::optional<ItemRange> ItemEditRange(const ItemField& field) {
  static const std::pair<ItemField, ItemRange> kRanges[] = {
      {&C::GapSize, {0, 25.4}},     {&C::DarknessZ, {0, 30}},           {&C::TearOffZ, {-120, 120}},
      {&C::LabelTopZ, {-120, 120}}, {&C::LeftPositionZ, {-9999, 9999}}, {&C::HeatD, {0, 30}},
  };
  for (const auto& [ranged, range] : kRanges) {
    if (ranged == field) return range;
  }
  return std::nullopt;
}

}  // namespace vantrel
