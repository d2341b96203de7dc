#include "app/tabs/config_bindings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <cmath>
#include <optional>
#include <span>
#include <stdexcept>
#include <variant>
#include <vector>

#include "app/widgets/language.h"
#include "app/widgets/number_text.h"
#include "app/widgets/typing_limit.h"
#include "config/config_items.h"

namespace vantrel::app {
namespace {

enum class Kind {
  kSpeed,         // real; a ',' typed as the decimal separator is accepted
  kReal,          // real
  kMillimetres,   // real length held in mm, shown in the unit
  kDots,          // integer length held in dots, shown in the unit
  kInteger,       // plain integer
  kCutPiece,      // integer shown only beside the CUTTER action
  kReference,     // integer shown only, while set and not 0
  kCharacter,     // one character
  kListFromZero,  // list: value = position - 1
  kListFromOne,   // list: value = position
};

using Member = ItemField;

struct Binding {
  const char* control;
  const char* caption;  // the label that names the item in messages
  Kind kind;
  Member member;
};

using C = PrinterConfig;

// Every shown item in record order: Speed first, RowOffsetD last.
const Binding kCommonBindings[] = {
    {"EditSpeed", "LabelSpeed", Kind::kSpeed, &C::Speed},
    {"ComboBoxDensity", "LabelDensity", Kind::kListFromZero, &C::Density},
    {"EditDensityBase", "LabelDensity", Kind::kReference, &C::DensityBase},
    {"EditWidth", "LabelWidth", Kind::kMillimetres, &C::PaperWidth},
    {"EditHeight", "LabelHeight", Kind::kMillimetres, &C::PaperHeight},
    {"ComboBoxMediaSensor", "LabelSensorType", Kind::kListFromZero, &C::MediaSensor},
    {"EditGapSize", "LabelVirticalGap", Kind::kMillimetres, &C::GapSize},
    {"EditGapOffset", "LabelGapOffset", Kind::kMillimetres, &C::GapOffset},
    {"ComboBoxPrintOut", "LabelPrintOut", Kind::kListFromZero, &C::PostPrintAction},
    {"EditCutterPiece", "LabelCutterPiece", Kind::kCutPiece, &C::CutPiece},
    {"EditReferenceX", "LabelReference", Kind::kInteger, &C::ReferenceX},
    {"EditReferenceY", "LabelReference", Kind::kInteger, &C::ReferenceY},
    {"ComboBoxDirection", "LabelDirection", Kind::kListFromZero, &C::Direction},
    {"ComboBoxMirror", "LabelDirection", Kind::kListFromZero, &C::Mirror},
    {"EditOffset", "LabelOffset", Kind::kInteger, &C::Offset},
    {"EditOffsetBase", "LabelOffset", Kind::kReference, &C::OffsetBase},
    {"EditShiftY", "LabelShiftY", Kind::kInteger, &C::ShiftY},
    {"EditShiftYBase", "LabelShiftY", Kind::kReference, &C::ShiftYBase},
    {"EditShiftX", "LabelShiftX", Kind::kInteger, &C::ShiftX},
    {"EditShiftXBase", "LabelShiftX", Kind::kReference, &C::ShiftXBase},
    {"ComboBoxRibbon", "LabelRibbon", Kind::kListFromZero, &C::Ribbon},
    {"ComboBoxCodePage", "LabelCodePage", Kind::kListFromZero, &C::CodePage},
    {"ComboBoxCountryCode", "LabelCountryCode", Kind::kListFromZero, &C::CountryCode},
    {"ComboBoxHead", "LabelHead", Kind::kListFromZero, &C::HeadUpSensor},
    {"ComboBoxReprint", "LabelReprint", Kind::kListFromZero, &C::ReprintAfterError},
    {"EditGapInten", "LabelGapInten", Kind::kInteger, &C::GapInten},
    {"EditBlineInten", "LabelBlineInten", Kind::kInteger, &C::BlineInten},
    {"EditContinuousInten", "LabelContinuousInten", Kind::kInteger, &C::ContinuousInten},
    {"ComboBoxBaudrate", "LabelBaudrate", Kind::kListFromOne, &C::BaudRate},
    {"ComboBoxDatabit", "LabelDataBit", Kind::kListFromZero, &C::DataBits},
    {"ComboBoxParity", "LabelParity", Kind::kListFromZero, &C::Parity},
    {"ComboBoxStopBit", "LabelStopBit", Kind::kListFromZero, &C::StopBits},
};

const Binding kZBindings[] = {
    {"EditDarknessZ", "LabelDarknessZ", Kind::kInteger, &C::DarknessZ},
    {"EditPrintSpeedZ", "LabelPrintSpeedZ", Kind::kInteger, &C::PrintSpeedZ},
    {"EditTearOffZ", "LabelTearOffZ", Kind::kInteger, &C::TearOffZ},
    {"ComboBoxPrintModeZ", "LabelPrintModeZ", Kind::kListFromOne, &C::PrintModeZ},
    {"EditPrintWidthZ", "LabelPrintWidthZ", Kind::kDots, &C::PrintWidthZ},
    {"EditControlPrefixZ", "LabelControlPrefixZ", Kind::kCharacter, &C::ControlPrefixZ},
    {"EditFormatPrefixZ", "LabelFormatPrefixZ", Kind::kCharacter, &C::FormatPrefixZ},
    {"EditDelimiterCharZ", "LabelDelimiterCharZ", Kind::kCharacter, &C::DelimiterCharZ},
    {"ComboBoxMediaPowerUpZ", "LabelMediaPowerUpZ", Kind::kListFromOne, &C::MediaPowerUpZ},
    {"ComboBoxHeadCloseZ", "LabelHeadCloseZ", Kind::kListFromOne, &C::HeadCloseZ},
    {"EditLabelTopZ", "LabelLabelTopZ", Kind::kInteger, &C::LabelTopZ},
    {"EditLeftPositionZ", "LabelLeftPositionZ", Kind::kInteger, &C::LeftPositionZ},
};

const Binding kDBindings[] = {
    {"EditHeatD", "LabelHeatD", Kind::kInteger, &C::HeatD},
    {"EditPrintSpeedD", "LabelPrintSpeedD", Kind::kReal, &C::PrintSpeedD},
    {"EditLabelWidthD", "LabelLabelWidthD", Kind::kDots, &C::LabelWidthD},
    {"ComboBoxPresentSensorD", "LabelPresentSensorD", Kind::kListFromOne, &C::PresentSensorD},
    {"ComboBoxCutterEquippedD", "LabelCutterEquippedD", Kind::kListFromOne, &C::CutterEquippedD},
    {"ComboBoxControlCodesD", "LabelControlCodesD", Kind::kListFromOne, &C::ControlCodesD},
    {"EditColumnOffsetD", "LabelColumnOffsetD", Kind::kDots, &C::ColumnOffsetD},
    {"EditRowOffsetD", "LabelRowOffsetD", Kind::kDots, &C::RowOffsetD},
};

// What Set sends is what the window shows: the Common and D pages send an item only when its
// flag is exactly 1, the Z page whenever it is not 0.
struct Page {
  std::span<const Binding> bindings;
  bool any_flag_is_set;
};

const Page kPages[] = {{kCommonBindings, false}, {kZBindings, true}, {kDBindings, false}};

constexpr int kCutterPosition = 4;  // "CUTTER" in the post-print list

// The dynamic property that keeps the text an edit showed for the record.
constexpr char kShownText[] = "shownText";

template <typename Control>
Control& Find(const QWidget& root, const char* name) {
  auto* control = root.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::logic_error(std::string("missing control ") + name);
  return *control;
}

bool IsList(Kind kind) {
  return kind == Kind::kListFromZero || kind == Kind::kListFromOne;
}

int PositionOffset(Kind kind) {
  return kind == Kind::kListFromZero ? 1 : 0;
}

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The selected position, or -1 when the text was typed rather than chosen.
int ListPosition(const QComboBox& list) {
  const int index = list.currentIndex();
  if (list.isEditable() && index >= 0 && list.currentText() != list.itemText(index)) return -1;
  return index;
}

// The text of a set item as its kind shows it.
QString ItemText(Kind kind, const Member& member, const PrinterConfig& config, LengthUnit unit) {
  if (const auto* real = std::get_if<RealItem PrinterConfig::*>(&member)) {
    const float value = (config.*(*real)).value;
    return kind == Kind::kMillimetres ? QString::fromStdString(MmToText(value, unit))
                                      : GeneralRealText(value);
  }
  if (const auto* character = std::get_if<CharItem PrinterConfig::*>(&member)) {
    const char value = (config.*(*character)).value;
    return QString::fromLatin1(&value, 1);
  }
  const std::int32_t value = (config.*std::get<IntItem PrinterConfig::*>(member)).value;
  return kind == Kind::kDots ? QString::fromStdString(DotsToText(value, unit, config))
                             : QString::number(value);
}

bool ItemIsSet(const Member& member, const PrinterConfig& config, const Page& page) {
  return std::visit(
      [&](auto field) {
        return page.any_flag_is_set ? (config.*field).set() : (config.*field).flag_is_one();
      },
      member);
}

std::int32_t IntValue(const Member& member, const PrinterConfig& config) {
  const auto* field = std::get_if<IntItem PrinterConfig::*>(&member);
  return field == nullptr ? 0 : (config.*(*field)).value;
}

void ShowList(QComboBox& list, const Binding& b, const PrinterConfig& config, const Page& page) {
  // Widened: a crafted file may hold INT32_MAX.
  const std::int64_t position =
      ItemIsSet(b.member, config, page)
          ? std::int64_t{IntValue(b.member, config)} + PositionOffset(b.kind)
          : -1;
  list.setCurrentIndex(position >= 0 && position < list.count() ? static_cast<int>(position) : -1);
}

void ShowEdit(QLineEdit& edit, const Binding& b, const PrinterConfig& config, const Page& page,
              LengthUnit unit, bool cutter_chosen) {
  bool shown = ItemIsSet(b.member, config, page);
  if (b.kind == Kind::kCutPiece) shown = shown && cutter_chosen;
  if (b.kind == Kind::kReference) {
    shown = shown && IntValue(b.member, config) != 0;
    edit.setVisible(shown);
  }
  ShowUncut(edit, shown ? ItemText(b.kind, b.member, config, unit) : QString());
  edit.setProperty(kShownText, edit.text());
}

// A text the user has not changed since the record was shown stands for the record's value.
bool Untouched(const QLineEdit& edit) {
  return !edit.text().isEmpty() && edit.text() == edit.property(kShownText).toString();
}

bool IsLength(Kind kind) {
  return kind == Kind::kMillimetres || kind == Kind::kDots;
}

void ClearFlag(const Member& member, PrinterConfig& config) {
  std::visit([&](auto field) { (config.*field).flag = 0; }, member);
}

[[noreturn]] void FailReal(const QString& text) {
  throw ConversionError(
      QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
}

// Checked after narrowing: 1e39 is a finite double but no single-precision value.
float Narrowed(double value, const QString& text) {
  const auto narrowed = static_cast<float>(value);
  if (!std::isfinite(narrowed)) FailReal(text);
  return narrowed;
}

float RealFromEdit(Kind kind, const QString& typed) {
  QString text = typed;
  if (kind == Kind::kSpeed) {
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0) text[comma] = QLatin1Char('.');
  }
  return Narrowed(RealFromText(text), typed);
}

std::int32_t DotsFromEdit(const QString& text, LengthUnit unit, const PrinterConfig& config) {
  const std::optional<std::int32_t> dots = ShownToDots(text.trimmed().toStdString(), unit, config);
  // A length that no resolution turns into a whole number of dots is no usable number either.
  if (!dots) FailReal(text);
  return *dots;
}

// One byte as the printer takes it: a control character (or NUL) would change the command
// language itself, and a character beyond Latin-1 has no single byte.
char CharacterFromEdit(const QString& text) {
  const char16_t c = text.at(0).unicode();
  const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
  if (control || c > 0xFF || text.size() > 1) {
    // A control character is named by its code: the message must not carry it (a NUL would
    // end the message).
    const QString shown =
        control ? QStringLiteral("U+%1").arg(int(c), 4, 16, QLatin1Char('0')).toUpper() : text;
    throw ConversionError(
        QStringLiteral("'%1' is not a character the printer can take: use one printable "
                       "Latin-1 character")
            .arg(shown)
            .toStdString());
  }
  return static_cast<char>(c);
}

// Sets the item to the value it already holds: the value goes back exactly as it was read.
void KeepValue(const Member& member, PrinterConfig& config) {
  std::visit([&](auto field) { (config.*field).Set((config.*field).value); }, member);
}

// Converts the text into the item; returns the value stored.
double SetFromText(const QString& text, const Binding& b, PrinterConfig& config, LengthUnit unit) {
  if (const auto* real = std::get_if<RealItem PrinterConfig::*>(&b.member)) {
    const float shown = RealFromEdit(b.kind, text);
    const float stored = b.kind == Kind::kMillimetres ? ShownToMm(shown, unit) : shown;
    (config.*(*real)).Set(Narrowed(stored, text));
    return (config.*(*real)).value;
  }
  if (const auto* character = std::get_if<CharItem PrinterConfig::*>(&b.member)) {
    (config.*(*character)).Set(CharacterFromEdit(text));
    return 0;
  }
  IntItem& item = config.*std::get<IntItem PrinterConfig::*>(b.member);
  item.Set(b.kind == Kind::kDots ? DotsFromEdit(text, unit, config) : IntegerFromText(text));
  return item.value;
}

QString UnitName(LengthUnit unit) {
  return unit == kUnitMm ? QStringLiteral("mm") : QStringLiteral("inch");
}

// The range as the field shows its values: "0 to 30", "0 to 1.00 inch".
QString ShownRange(const Binding& b, const ItemRange& range, LengthUnit unit) {
  if (b.kind != Kind::kMillimetres) {
    return RangeText(static_cast<int>(range.low), static_cast<int>(range.high));
  }
  const auto shown = [unit](double mm) {
    return mm == 0 ? QStringLiteral("0")
                   : QString::fromStdString(MmToText(static_cast<float>(mm), unit));
  };
  return QStringLiteral("%1 to %2 %3").arg(shown(range.low), shown(range.high), UnitName(unit));
}

// What the field takes, for the line under a conversion message.
QString Takes(const Binding& b, LengthUnit unit) {
  QString takes;
  switch (b.kind) {
    case Kind::kSpeed:
    case Kind::kReal:
      takes = QStringLiteral("a number");
      break;
    case Kind::kMillimetres:
    case Kind::kDots:
      takes = QStringLiteral("a length in ") + UnitName(unit);
      break;
    case Kind::kCharacter:
      takes = QStringLiteral("one printable Latin-1 character");
      break;
    default:
      takes = QStringLiteral("a whole number");
      break;
  }
  const std::optional<ItemRange> range = ItemEditRange(b.member);
  return range ? takes + QStringLiteral(" from ") + ShownRange(b, *range, unit) : takes;
}

void CollectEdit(const QLineEdit& edit, const Binding& b, PrinterConfig& config, LengthUnit unit) {
  const QString text = edit.text();
  if (text.isEmpty()) return ClearFlag(b.member, config);
  if (Untouched(edit)) return KeepValue(b.member, config);
  const QString field = FieldCaption(MainWindowTexts(), b.caption);
  const double stored =
      InField(field, Takes(b, unit), [&] { return SetFromText(text, b, config, unit); });
  if (const std::optional<ItemRange> range = ItemEditRange(b.member)) {
    CheckRange(stored, range->low, range->high, field, text, ShownRange(b, *range, unit));
  }
}

void CollectList(const QComboBox& list, const Binding& b, PrinterConfig& config) {
  const int position = ListPosition(list);
  if (position <= 0) return ClearFlag(b.member, config);
  (config.*std::get<IntItem PrinterConfig::*>(b.member)).Set(position - PositionOffset(b.kind));
}

// The text an edited length shows in `to`, converted from its text in `from`.
QString ConvertedLength(const QLineEdit& edit, const Binding& b, const PrinterConfig& config,
                        LengthUnit from, LengthUnit to) {
  if (b.kind == Kind::kDots) {
    return QString::fromStdString(DotsToText(DotsFromEdit(edit.text(), from, config), to, config));
  }
  return QString::fromStdString(MmToText(ShownToMm(RealFromEdit(b.kind, edit.text()), from), to));
}

template <std::size_t N>
void ShowText(QWidget& root, const char* name, const Text<N>& text) {
  Find<QLineEdit>(root, name).setText(Latin1(TextView(text)));
}

const Binding* FindBinding(std::string_view control) {
  for (const Page& page : kPages) {
    for (const Binding& b : page.bindings) {
      if (b.control == control) return &b;
    }
  }
  return nullptr;
}

}  // namespace

QString StatedRange(const char* control) {
  const Binding* binding = FindBinding(control);
  const std::optional<ItemRange> range =
      binding != nullptr ? ItemEditRange(binding->member) : std::nullopt;
  if (!range) throw std::logic_error(std::string("no range for ") + control);
  return ShownRange(*binding, *range, kUnitMm);
}

void ShowConfig(QWidget& root, const PrinterConfig& config, LengthUnit unit) {
  ShowText(root, "EditVersion", config.Version);
  ShowText(root, "EditMilage", config.Milage);
  ShowText(root, "EditChecksum", config.Checksum);
  ShowText(root, "EditSerial", config.SerialNo);
  const auto& post_print = Find<QComboBox>(root, "ComboBoxPrintOut");
  for (const Page& page : kPages) {
    for (const Binding& b : page.bindings) {
      if (IsList(b.kind)) {
        ShowList(Find<QComboBox>(root, b.control), b, config, page);
      } else {
        const bool cutter_chosen = post_print.currentIndex() == kCutterPosition;
        ShowEdit(Find<QLineEdit>(root, b.control), b, config, page, unit, cutter_chosen);
      }
    }
  }
}

void ConvertShownLengths(QWidget& root, const PrinterConfig& config, LengthUnit from,
                         LengthUnit to) {
  struct Change {
    QLineEdit* edit;
    QString text;
    bool untouched;
  };
  std::vector<Change> changes;
  // Every text is converted before any is shown, so a failure changes nothing.
  for (const Page& page : kPages) {
    for (const Binding& b : page.bindings) {
      if (!IsLength(b.kind)) continue;
      auto& edit = Find<QLineEdit>(root, b.control);
      if (edit.text().isEmpty()) continue;
      const bool untouched = Untouched(edit);
      changes.push_back({&edit,
                         untouched ? ItemText(b.kind, b.member, config, to)
                                   : ConvertedLength(edit, b, config, from, to),
                         untouched});
    }
  }
  for (const Change& change : changes) {
    ShowUncut(*change.edit, change.text);
    if (change.untouched) change.edit->setProperty(kShownText, change.text);
  }
}

void CollectConfig(const QWidget& root, PrinterConfig& config, LengthUnit unit) {
  for (const Page& page : kPages) {
    for (const Binding& b : page.bindings) {
      if (b.kind == Kind::kReference) continue;
      if (IsList(b.kind)) {
        CollectList(Find<QComboBox>(root, b.control), b, config);
      } else {
        CollectEdit(Find<QLineEdit>(root, b.control), b, config, unit);
      }
    }
  }
}

}  // namespace vantrel::app
