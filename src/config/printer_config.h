#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vantrel {

// A setting with its presence flag: flag 0 means "no value, leave the printer's setting alone".
template <typename T>
struct Item {
  std::uint8_t flag = 0;
  T value{};

  bool set() const { return flag != 0; }
  // The Common and D pages take only a flag of exactly 1 as set (a crafted file may hold 2 or
  // 255); the Z page takes any flag but 0.
  bool flag_is_one() const { return flag == 1; }
  void Set(T v) {
    flag = 1;
    value = v;
  }
};

using IntItem = Item<std::int32_t>;
using RealItem = Item<float>;
using CharItem = Item<char>;

// A NUL-terminated byte string of fixed capacity. Bytes after the NUL are kept as they are,
// so a loaded file saves back byte for byte.
template <std::size_t N>
using Text = std::array<char, N>;

// The printer's whole configuration: the identity head and 52 items, in record order.
// Member names are the record's own field names; they are also the JSON keys of the CLI.
struct PrinterConfig {
  std::int32_t Edition = 0;
  RealItem Dpi;
  float DotsPerMm = 0;
  Text<256> Version{};
  Text<16> Milage{};
  Text<16> Checksum{};
  Text<64> SerialNo{};

  // Common page.
  RealItem Speed;
  IntItem Density;
  IntItem DensityBase;
  RealItem PaperWidth;      // mm
  RealItem PaperHeight;     // mm
  IntItem MediaSensor;      // 0 gap, 1 black line, 2 continuous
  RealItem GapSize;         // mm
  RealItem GapOffset;       // mm
  IntItem PostPrintAction;  // 0 OFF, 1 TEAR, 2 PEEL, 3 CUTTER
  IntItem CutPiece;
  IntItem ReferenceX;  // dots
  IntItem ReferenceY;  // dots
  IntItem Direction;
  IntItem Mirror;
  IntItem Offset;  // dots
  IntItem OffsetBase;
  IntItem ShiftY;  // dots
  IntItem ShiftYBase;
  IntItem ShiftX;  // dots
  IntItem ShiftXBase;
  IntItem Ribbon;
  IntItem CodePage;     // index into kCodePageNames
  IntItem CountryCode;  // index into kCountryCodes
  IntItem HeadUpSensor;
  IntItem ReprintAfterError;
  IntItem GapInten;
  IntItem BlineInten;
  IntItem ContinuousInten;
  IntItem BaudRate;  // index into kBaudRateNames / kBaudRateCodes
  IntItem DataBits;  // index into kDataBitNames
  IntItem Parity;    // index into kParityNames
  IntItem StopBits;  // index into kStopBitNames

  // Z emulation page; choices count from 1.
  IntItem DarknessZ;
  IntItem PrintSpeedZ;
  IntItem TearOffZ;
  IntItem PrintModeZ;   // 1 TEAR OFF, 2 PEEL OFF, 3 CUTTER
  IntItem PrintWidthZ;  // dots
  CharItem ControlPrefixZ;
  CharItem FormatPrefixZ;
  CharItem DelimiterCharZ;
  IntItem MediaPowerUpZ;  // 1 FEED, 2 CALIBRATION, 3 LENGTH, 4 NO MOTION
  IntItem HeadCloseZ;     // same values
  IntItem LabelTopZ;
  IntItem LeftPositionZ;

  // D emulation page; choices count from 1.
  IntItem HeatD;
  RealItem PrintSpeedD;
  IntItem LabelWidthD;      // dots
  IntItem PresentSensorD;   // 1 OFF, 2 ON
  IntItem CutterEquippedD;  // 1 OFF, 2 ON
  IntItem ControlCodesD;    // 1 Standard, 2 Alternate, 3 Alternate-2
  IntItem ColumnOffsetD;    // dots
  IntItem RowOffsetD;       // dots
};

// Puts a record into its default state: every item unset, Dpi 200.0 and DotsPerMm 11.8 (two
// independent defaults), Speed 3.0, the Z prefixes '~', '^' and ','.
void ResetConfig(PrinterConfig& config);

// Records of 100 or more carry the Z and D emulation settings.
inline constexpr std::int32_t kFirstEmulationEdition = 100;

// Calls visit(name, field) for every field in record order; `Config` is PrinterConfig or
// const PrinterConfig. The one list of the record's layout: the file image is built from it.
template <typename Config, typename Visitor>
constexpr void ForEachField(Config& c, Visitor&& visit) {
  visit("Edition", c.Edition);
  visit("Dpi", c.Dpi);
  visit("DotsPerMm", c.DotsPerMm);
  visit("Version", c.Version);
  visit("Milage", c.Milage);
  visit("Checksum", c.Checksum);
  visit("SerialNo", c.SerialNo);
  visit("Speed", c.Speed);
  visit("Density", c.Density);
  visit("DensityBase", c.DensityBase);
  visit("PaperWidth", c.PaperWidth);
  visit("PaperHeight", c.PaperHeight);
  visit("MediaSensor", c.MediaSensor);
  visit("GapSize", c.GapSize);
  visit("GapOffset", c.GapOffset);
  visit("PostPrintAction", c.PostPrintAction);
  visit("CutPiece", c.CutPiece);
  visit("ReferenceX", c.ReferenceX);
  visit("ReferenceY", c.ReferenceY);
  visit("Direction", c.Direction);
  visit("Mirror", c.Mirror);
  visit("Offset", c.Offset);
  visit("OffsetBase", c.OffsetBase);
  visit("ShiftY", c.ShiftY);
  visit("ShiftYBase", c.ShiftYBase);
  visit("ShiftX", c.ShiftX);
  visit("ShiftXBase", c.ShiftXBase);
  visit("Ribbon", c.Ribbon);
  visit("CodePage", c.CodePage);
  visit("CountryCode", c.CountryCode);
  visit("HeadUpSensor", c.HeadUpSensor);
  visit("ReprintAfterError", c.ReprintAfterError);
  visit("GapInten", c.GapInten);
  visit("BlineInten", c.BlineInten);
  visit("ContinuousInten", c.ContinuousInten);
  visit("BaudRate", c.BaudRate);
  visit("DataBits", c.DataBits);
  visit("Parity", c.Parity);
  visit("StopBits", c.StopBits);
  visit("DarknessZ", c.DarknessZ);
  visit("PrintSpeedZ", c.PrintSpeedZ);
  visit("TearOffZ", c.TearOffZ);
  visit("PrintModeZ", c.PrintModeZ);
  visit("PrintWidthZ", c.PrintWidthZ);
  visit("ControlPrefixZ", c.ControlPrefixZ);
  visit("FormatPrefixZ", c.FormatPrefixZ);
  visit("DelimiterCharZ", c.DelimiterCharZ);
  visit("MediaPowerUpZ", c.MediaPowerUpZ);
  visit("HeadCloseZ", c.HeadCloseZ);
  visit("LabelTopZ", c.LabelTopZ);
  visit("LeftPositionZ", c.LeftPositionZ);
  visit("HeatD", c.HeatD);
  visit("PrintSpeedD", c.PrintSpeedD);
  visit("LabelWidthD", c.LabelWidthD);
  visit("PresentSensorD", c.PresentSensorD);
  visit("CutterEquippedD", c.CutterEquippedD);
  visit("ControlCodesD", c.ControlCodesD);
  visit("ColumnOffsetD", c.ColumnOffsetD);
  visit("RowOffsetD", c.RowOffsetD);
}

// The text up to its NUL (or the whole field when a loaded file has none).
template <std::size_t N>
std::string_view TextView(const Text<N>& field) {
  const auto* end = std::find(field.begin(), field.end(), '\0');
  return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

// Copies `text` cut to the field's capacity (N - 1 bytes) and NUL-terminates it.
template <std::size_t N>
void SetText(Text<N>& field, std::string_view text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::memcpy(field.data(), text.data(), length);
  field[length] = '\0';
}

}  // namespace vantrel
