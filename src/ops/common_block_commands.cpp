// The Common page: the printer's own command language.
#include <span>
#include <string_view>

#include "config/value_tables.h"
#include "ops/config_block_commands.h"

namespace vantrel {
namespace {

const char* OnOff(std::int32_t value) {
  return value != 0 ? "ON" : "OFF";
}

void SendMediaSensor(CommandWriter& out, const PrinterConfig& c) {
  if (!c.MediaSensor.flag_is_one()) return;
  const bool gap_known = c.GapSize.flag_is_one() && c.GapOffset.flag_is_one();
  switch (c.MediaSensor.value) {
    case 0:
      if (gap_known) out.Send("GAP %.2f mm,%.2f mm\r\n", c.GapSize.value, c.GapOffset.value);
      break;
    case 1:
      if (gap_known) out.Send("BLINE %.2f mm,%.2f mm\r\n", c.GapSize.value, c.GapOffset.value);
      break;
    case 2:
      out.SendText("GAP 0,0\r\n");
      break;
    default:
      break;
  }
}

// One text of three lines, so the three modes never contradict each other.
void SendPostPrintAction(CommandWriter& out, const PrinterConfig& c) {
  if (!c.PostPrintAction.flag_is_one()) return;
  switch (c.PostPrintAction.value) {
    case 0:
      out.SendText("SET TEAR OFF\r\nSET PEEL OFF\r\nSET CUTTER OFF\r\n");
      break;
    case 1:
      out.SendText("SET TEAR ON\r\nSET PEEL OFF\r\nSET CUTTER OFF\r\n");
      break;
    case 2:
      out.SendText("SET TEAR OFF\r\nSET PEEL ON\r\nSET CUTTER OFF\r\n");
      break;
    case 3: {
      const bool pieces = c.CutPiece.flag_is_one() && c.CutPiece.value != 0;
      out.Send("SET TEAR OFF\r\nSET PEEL OFF\r\nSET CUTTER %d\r\n", pieces ? c.CutPiece.value : 1);
      break;
    }
    default:
      break;
  }
}

void SendDirection(CommandWriter& out, const PrinterConfig& c) {
  if (!c.Direction.flag_is_one()) return;
  if (c.Mirror.flag_is_one()) {
    out.Send("DIRECTION %d,%d\r\n", c.Direction.value, c.Mirror.value);
  } else {
    out.Send("DIRECTION %d\r\n", c.Direction.value);
  }
}

void SendShift(CommandWriter& out, const PrinterConfig& c) {
  if (c.ShiftX.flag_is_one()) {
    out.Send("SHIFT %d,%d\r\n", c.ShiftX.value, c.ShiftY.flag_is_one() ? c.ShiftY.value : 0);
  } else if (c.ShiftY.flag_is_one()) {
    out.Send("SHIFT %d\r\n", c.ShiftY.value);
  }
}

void SendTableEntry(CommandWriter& out, const char* command, const IntItem& item,
                    std::span<const std::string_view> table) {
  if (!item.flag_is_one()) return;
  const std::string_view entry = TableEntry(table, item.value);
  if (!entry.empty()) {
    out.Send("%s %.*s\r\n", command, static_cast<int>(entry.size()), entry.data());
  }
}

// The intensity that belongs to the media sensor mode in use.
void SendSensorIntensity(CommandWriter& out, const PrinterConfig& c) {
  if (!c.MediaSensor.flag_is_one()) return;
  const IntItem* intensity = nullptr;
  switch (c.MediaSensor.value) {
    case 0:
      intensity = &c.GapInten;
      break;
    case 1:
      intensity = &c.BlineInten;
      break;
    case 2:
      intensity = &c.ContinuousInten;
      break;
    default:
      return;
  }
  if (intensity->flag_is_one()) out.Send("SET GAP %d\r\n", intensity->value);
}

void SendSerialLine(CommandWriter& out, const PrinterConfig& c) {
  if (!(c.BaudRate.flag_is_one() && c.DataBits.flag_is_one() && c.Parity.flag_is_one() &&
        c.StopBits.flag_is_one()))
    return;
  const std::string_view baud = TableEntry(kBaudRateCodes, c.BaudRate.value);
  const std::string_view parity = TableEntry(kParityNames, c.Parity.value);
  const std::string_view bits = TableEntry(kDataBitNames, c.DataBits.value);
  const std::string_view stop = TableEntry(kStopBitNames, c.StopBits.value);
  if (baud.empty() || parity.empty() || bits.empty() || stop.empty()) return;
  out.Send("SET COM1 %.*s,%c,%c,%c\r\n", static_cast<int>(baud.size()), baud.data(), parity[0],
           bits[0], stop[0]);
}

}  // namespace

void WriteCommonBlock(CommandWriter& out, const PrinterConfig& c) {
  if (c.Speed.flag_is_one()) out.Send("SPEED %.1f\r\n", c.Speed.value);
  if (c.Density.flag_is_one()) out.Send("DENSITY %d\r\n", c.Density.value);
  if (c.PaperWidth.flag_is_one() && c.PaperHeight.flag_is_one()) {
    out.Send("SIZE %.2f mm,%.2f mm\r\n", c.PaperWidth.value, c.PaperHeight.value);
  }
  SendMediaSensor(out, c);
  SendPostPrintAction(out, c);
  if (c.ReferenceX.flag_is_one() && c.ReferenceY.flag_is_one()) {
    out.Send("REFERENCE %d,%d\r\n", c.ReferenceX.value, c.ReferenceY.value);
  }
  SendDirection(out, c);
  if (c.Offset.flag_is_one()) out.Send("OFFSET %d dot\r\n", c.Offset.value);
  SendShift(out, c);
  if (c.Ribbon.flag_is_one()) out.Send("SET RIBBON %s\r\n", OnOff(c.Ribbon.value));
  SendTableEntry(out, "CODEPAGE", c.CodePage, kCodePageNames);
  SendTableEntry(out, "COUNTRY", c.CountryCode, kCountryCodes);
  if (c.HeadUpSensor.flag_is_one()) out.Send("SET HEAD %s\r\n", OnOff(c.HeadUpSensor.value));
  if (c.ReprintAfterError.flag_is_one())
    out.Send("SET REPRINT %s\r\n", OnOff(c.ReprintAfterError.value));
  SendSensorIntensity(out, c);
  SendSerialLine(out, c);
}

}  // namespace vantrel
