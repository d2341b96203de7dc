#include "ops/config_report_steps.h"

#include <algorithm>
#include <array>
#include <optional>

#include "config/unit_conversions.h"
#include "config/value_tables.h"
#include "ops/decimal_reply.h"

namespace vantrel {
namespace {

// A whole answer that stands for a value.
struct LetterCode {
  std::string_view text;
  std::int32_t value;
};

constexpr std::array<LetterCode, 5> kZSpeedCodes = {
    {{"A", 2}, {"B", 3}, {"C", 4}, {"D", 6}, {"E", 8}}};
constexpr std::array<LetterCode, 6> kZPrintModeCodes = {
    {{"T", 1}, {"P", 2}, {"R", 1}, {"A", 1}, {"C", 3}, {"D", 3}}};
constexpr std::array<LetterCode, 4> kZMediaActionCodes = {{{"F", 1}, {"C", 2}, {"L", 3}, {"N", 4}}};
constexpr std::array<LetterCode, 3> kDOnOffCodes = {{{"N", 1}, {"E", 2}, {"A", 2}}};
constexpr std::array<LetterCode, 3> kDControlCodes = {{{"S", 1}, {"1", 2}, {"2", 3}}};

std::optional<std::int32_t> FindCode(std::span<const LetterCode> codes, std::string_view reply) {
  for (const LetterCode& code : codes) {
    if (code.text == reply) return code.value;
  }
  return std::nullopt;
}

template <typename T>
void SetOrClear(Item<T>& item, std::optional<T> value) {
  if (value) {
    item.Set(*value);
  } else {
    item.flag = 0;
  }
}

template <auto Member>
void ClearItem(PrinterConfig& c) {
  (c.*Member).flag = 0;
}

template <auto Member>
void StoreInteger(std::string_view reply, PrinterConfig& c) {
  (c.*Member).Set(ParseDecimalInteger(reply));
}

template <auto Member>
void StoreReal(std::string_view reply, PrinterConfig& c) {
  (c.*Member).Set(ParseDecimalReal(reply));
}

// Lengths come in printer dots and are kept in millimetres.
template <auto Member>
void StoreDots(std::string_view reply, PrinterConfig& c) {
  SetOrClear(c.*Member, DotsToMm(ParseDecimalInteger(reply), c.DotsPerMm));
}

// An answer missing from the table stores the table's length, still flagged as read.
template <auto Member, const auto& Table>
void StoreMatch(std::string_view reply, PrinterConfig& c) {
  (c.*Member).Set(MatchIndex(Table, reply));
}

template <auto Member>
void StoreNonEmptyInteger(std::string_view reply, PrinterConfig& c) {
  SetOrClear(c.*Member, reply.empty() ? std::nullopt
                                      : std::optional<std::int32_t>(ParseDecimalInteger(reply)));
}

template <auto Member, const auto& Codes>
void StoreCoded(std::string_view reply, PrinterConfig& c) {
  SetOrClear(c.*Member, FindCode(Codes, reply));
}

template <auto Member>
void StoreCharacter(std::string_view reply, PrinterConfig& c) {
  SetOrClear(c.*Member, reply.size() == 1 ? std::optional<char>(reply[0]) : std::nullopt);
}

template <auto Member>
void StoreText(std::string_view reply, PrinterConfig& c) {
  SetText(c.*Member, reply);
}

template <auto Member>
void ClearText(PrinterConfig& c) {
  (c.*Member)[0] = '\0';
}

// The printer's speed letters, or a plain number.
void StoreZSpeed(std::string_view reply, PrinterConfig& c) {
  if (reply.empty()) {
    c.PrintSpeedZ.flag = 0;
    return;
  }
  c.PrintSpeedZ.Set(FindCode(kZSpeedCodes, reply).value_or(ParseDecimalInteger(reply)));
}

// 'A'..'V' count half steps from 1.0, 'W'..'Z' whole steps from 12, 'a'..'e' from 16.
std::optional<float> DSpeedFromLetter(char letter) {
  if (letter >= 'A' && letter <= 'V') return 1.0F + 0.5F * static_cast<float>(letter - 'A');
  if (letter >= 'W' && letter <= 'Z') return 12.0F + static_cast<float>(letter - 'W');
  if (letter >= 'a' && letter <= 'e') return 16.0F + static_cast<float>(letter - 'a');
  return std::nullopt;
}

void StoreDSpeed(std::string_view reply, PrinterConfig& c) {
  SetOrClear(c.PrintSpeedD, reply.size() == 1 ? DSpeedFromLetter(reply[0]) : std::nullopt);
}

void StoreEdition(std::string_view reply, PrinterConfig& c) {
  c.Edition = ParseDecimalInteger(reply);
}

void ClearEdition(PrinterConfig& c) {
  c.Edition = 0;
}

template <auto Member>
constexpr ReportStep TextStep(std::string_view name) {
  return {name, StoreText<Member>, ClearText<Member>};
}
template <auto Member>
constexpr ReportStep Integer(std::string_view name) {
  return {name, StoreInteger<Member>, ClearItem<Member>};
}
template <auto Member>
constexpr ReportStep Real(std::string_view name) {
  return {name, StoreReal<Member>, ClearItem<Member>};
}
template <auto Member>
constexpr ReportStep Dots(std::string_view name) {
  return {name, StoreDots<Member>, ClearItem<Member>};
}
template <auto Member, const auto& Table>
constexpr ReportStep Match(std::string_view name) {
  return {name, StoreMatch<Member, Table>, ClearItem<Member>};
}
template <auto Member>
constexpr ReportStep NonEmptyInteger(std::string_view name) {
  return {name, StoreNonEmptyInteger<Member>, ClearItem<Member>};
}
template <auto Member, const auto& Codes>
constexpr ReportStep Coded(std::string_view name) {
  return {name, StoreCoded<Member, Codes>, ClearItem<Member>};
}
template <auto Member>
constexpr ReportStep Character(std::string_view name) {
  return {name, StoreCharacter<Member>, ClearItem<Member>};
}

using C = PrinterConfig;

constexpr std::array kIdentitySteps = {
    TextStep<&C::Version>("VERSION"),
    TextStep<&C::Milage>("MILAGE"),
    TextStep<&C::Checksum>("CHECKSUM"),
};

constexpr std::array kCommonSteps = {
    Real<&C::Speed>("SPEED"),
    Integer<&C::Density>("DENSITY"),
    Integer<&C::DensityBase>("DENSITYBASE"),
    Dots<&C::PaperWidth>("PAPERWIDTH"),
    Dots<&C::PaperHeight>("PAPERHEIGHT"),
    Integer<&C::MediaSensor>("SENSORMODE"),
    Dots<&C::GapSize>("GAPSIZE"),
    Dots<&C::GapOffset>("GAPOFFSET"),
    Integer<&C::PostPrintAction>("PRINTOUT"),
    Integer<&C::CutPiece>("CUTTERPIECE"),
    Integer<&C::ReferenceX>("REFERENCEX"),
    Integer<&C::ReferenceY>("REFERENCEY"),
    Integer<&C::Direction>("DIRCTION"),  // the printer's own spelling
    Integer<&C::Mirror>("MIRROR"),
    Integer<&C::Offset>("OFFSET"),
    Integer<&C::OffsetBase>("OFFSETBASE"),
    Integer<&C::ShiftY>("SHIFT"),
    Integer<&C::ShiftYBase>("SHIFTBASE"),
    Integer<&C::Ribbon>("RIBBON"),
    Match<&C::CodePage, kCodePageNames>("CODEPAGE"),
    Match<&C::CountryCode, kCountryCodes>("COUNTRY"),
    Integer<&C::HeadUpSensor>("HEAD"),
    Integer<&C::GapInten>("GAPINTEN"),
    Integer<&C::BlineInten>("BLINEINTEN"),
    Integer<&C::ContinuousInten>("CONINTEN"),
    Match<&C::BaudRate, kBaudRateNames>("BAUDRATE"),
    Match<&C::DataBits, kDataBitNames>("DATABIT"),
    Match<&C::Parity, kParityNames>("PARITY"),
    Match<&C::StopBits, kStopBitNames>("STOPBIT"),
};

constexpr std::array kToleratedSteps = {
    Integer<&C::ReprintAfterError>("REPRINT"),
    Integer<&C::ShiftX>("SHIFTX"),
    Integer<&C::ShiftXBase>("SHIFTXBASE"),
    ReportStep{"EDITION", StoreEdition, ClearEdition},
};

constexpr std::array kEmulationSteps = {
    NonEmptyInteger<&C::DarknessZ>("ZDARKNESS"),
    ReportStep{"ZSPEED", StoreZSpeed, ClearItem<&C::PrintSpeedZ>},
    NonEmptyInteger<&C::TearOffZ>("ZPOSITION"),
    Coded<&C::PrintModeZ, kZPrintModeCodes>("ZPRINTMODE"),
    NonEmptyInteger<&C::PrintWidthZ>("ZLABELWIDTH"),
    Character<&C::ControlPrefixZ>("ZCONTROL"),
    Character<&C::FormatPrefixZ>("ZFORMAT"),
    Character<&C::DelimiterCharZ>("ZDELIMITER"),
    Coded<&C::MediaPowerUpZ, kZMediaActionCodes>("ZFEEDPOWERUP"),
    Coded<&C::HeadCloseZ, kZMediaActionCodes>("ZFEEDHEADCLOSE"),
    NonEmptyInteger<&C::LabelTopZ>("ZLABELTOP"),
    NonEmptyInteger<&C::LeftPositionZ>("ZLABELSHIFT"),
    NonEmptyInteger<&C::HeatD>("DHEAT"),
    ReportStep{"DSPEED", StoreDSpeed, ClearItem<&C::PrintSpeedD>},
    NonEmptyInteger<&C::LabelWidthD>("DLABELWIDTH"),
    Coded<&C::PresentSensorD, kDOnOffCodes>("DPRESENTSENSOR"),
    Coded<&C::CutterEquippedD, kDOnOffCodes>("DCUTTEREQUIPPED"),
    Coded<&C::ControlCodesD, kDControlCodes>("DCONTROLCODES"),
    NonEmptyInteger<&C::ColumnOffsetD>("DCOLUMNOFFSET"),
    NonEmptyInteger<&C::RowOffsetD>("DROWOFFSET"),
};
// The Z questions come first, then the D ones.
constexpr std::size_t kZSteps = 12;
static_assert(kEmulationSteps[kZSteps - 1].name == "ZLABELSHIFT" &&
              kEmulationSteps[kZSteps].name == "DHEAT");

}  // namespace

std::span<const ReportStep> IdentityReportSteps() {
  return kIdentitySteps;
}
std::span<const ReportStep> CommonReportSteps() {
  return kCommonSteps;
}
std::span<const ReportStep> ToleratedReportSteps() {
  return kToleratedSteps;
}
std::size_t ToleratedAnswers(const PrinterConfig& read) {
  static_assert(kToleratedSteps.size() == 4 && kToleratedSteps[0].name == "REPRINT" &&
                kToleratedSteps[1].name == "SHIFTX" && kToleratedSteps[2].name == "SHIFTXBASE" &&
                kToleratedSteps[3].name == "EDITION");
  // EDITION has no flag: an unanswered one leaves 0.
  const std::array answered = {read.ReprintAfterError.set(), read.ShiftX.set(),
                               read.ShiftXBase.set(), read.Edition != 0};
  return static_cast<std::size_t>(std::find(answered.begin(), answered.end(), false) -
                                  answered.begin());
}
std::span<const ReportStep> EmulationReportSteps() {
  return kEmulationSteps;
}

std::span<const ReportStep> EmulationPageReportSteps(ConfigPage page) {
  const std::span<const ReportStep> steps = kEmulationSteps;
  if (page == ConfigPage::kZ) return steps.first(kZSteps);
  if (page == ConfigPage::kD) return steps.subspan(kZSteps);
  return {};
}

}  // namespace vantrel
