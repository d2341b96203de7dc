#include "config/config_file_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "common/byte_order.h"

namespace vantrel {
namespace {

// Where each field starts within the record image: the file format, written out independently
// of the code that builds it.
const std::map<std::string, std::size_t, std::less<>> kFieldOffsets = {
    {"Edition", 0},           {"Dpi", 4},
    {"DotsPerMm", 9},         {"Version", 13},
    {"Milage", 269},          {"Checksum", 285},
    {"SerialNo", 301},        {"Speed", 365},
    {"Density", 370},         {"DensityBase", 375},
    {"PaperWidth", 380},      {"PaperHeight", 385},
    {"MediaSensor", 390},     {"GapSize", 395},
    {"GapOffset", 400},       {"PostPrintAction", 405},
    {"CutPiece", 410},        {"ReferenceX", 415},
    {"ReferenceY", 420},      {"Direction", 425},
    {"Mirror", 430},          {"Offset", 435},
    {"OffsetBase", 440},      {"ShiftY", 445},
    {"ShiftYBase", 450},      {"ShiftX", 455},
    {"ShiftXBase", 460},      {"Ribbon", 465},
    {"CodePage", 470},        {"CountryCode", 475},
    {"HeadUpSensor", 480},    {"ReprintAfterError", 485},
    {"GapInten", 490},        {"BlineInten", 495},
    {"ContinuousInten", 500}, {"BaudRate", 505},
    {"DataBits", 510},        {"Parity", 515},
    {"StopBits", 520},        {"DarknessZ", 525},
    {"PrintSpeedZ", 530},     {"TearOffZ", 535},
    {"PrintModeZ", 540},      {"PrintWidthZ", 545},
    {"ControlPrefixZ", 550},  {"FormatPrefixZ", 552},
    {"DelimiterCharZ", 554},  {"MediaPowerUpZ", 556},
    {"HeadCloseZ", 561},      {"LabelTopZ", 566},
    {"LeftPositionZ", 571},   {"HeatD", 576},
    {"PrintSpeedD", 581},     {"LabelWidthD", 586},
    {"PresentSensorD", 591},  {"CutterEquippedD", 596},
    {"ControlCodesD", 601},   {"ColumnOffsetD", 606},
    {"RowOffsetD", 611},
};

// Gives every field a value of its own: the n-th field holds n in some form, items are set.
ConfigFileContents Distinct() {
  ConfigFileContents contents;
  contents.unit = kUnitMm;
  contents.status.flags = {1, 0, 1, 1, 0, 0, 1, 0, 0, 1};
  int n = 0;
  ForEachField(contents.config, [&n](std::string_view, auto& field) {
    ++n;
    using Field = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, std::int32_t>) {
      field = -1000 * n;
    } else if constexpr (std::is_same_v<Field, float>) {
      field = static_cast<float>(n) + 0.25F;
    } else if constexpr (requires { field.flag; }) {
      using Value = decltype(field.value);
      field.Set(std::is_same_v<Value, char> ? static_cast<Value>('A' + n)
                                            : static_cast<Value>(n * 3));
    } else {
      std::memset(field.data(), 0xEE, field.size());  // bytes after the NUL are kept too
      SetText(field, "T" + std::to_string(n));
    }
  });
  return contents;
}

TEST(ConfigFileImageTest, HeaderAndStatusSitAtTheirOffsets) {
  const ConfigFileImage image = BuildConfigFileImage(Distinct());
  EXPECT_EQ(image[0], 0xAA);
  EXPECT_EQ(image[1], 0x55);
  EXPECT_EQ(image[2], 0x00);
  EXPECT_EQ(image[3], 0x00);
  EXPECT_EQ(GetU32LE(image, 4), 1U);
  EXPECT_EQ(GetI32LE(image, 8), kUnitMm);
  const std::uint8_t status[10] = {1, 0, 1, 1, 0, 0, 1, 0, 0, 1};
  EXPECT_EQ(std::memcmp(image.data() + 628, status, 10), 0);
}

TEST(ConfigFileImageTest, EveryFieldSitsAtItsOffsetLittleEndian) {
  const ConfigFileContents contents = Distinct();
  const ConfigFileImage image = BuildConfigFileImage(contents);
  const auto record = std::span<const std::uint8_t>(image).subspan(12, 616);
  std::size_t checked = 0;
  ForEachField(contents.config, [&](std::string_view name, const auto& field) {
    const auto found = kFieldOffsets.find(name);
    ASSERT_NE(found, kFieldOffsets.end()) << name;
    const std::size_t at = found->second;
    ++checked;
    using Field = std::remove_cvref_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, std::int32_t>) {
      EXPECT_EQ(GetI32LE(record, at), field) << name;
    } else if constexpr (std::is_same_v<Field, float>) {
      EXPECT_EQ(GetF32LE(record, at), field) << name;
    } else if constexpr (requires { field.flag; }) {
      EXPECT_EQ(record[at], 1) << name;
      using Value = decltype(field.value);
      if constexpr (std::is_same_v<Value, char>) {
        EXPECT_EQ(record[at + 1], static_cast<std::uint8_t>(field.value)) << name;
      } else if constexpr (std::is_same_v<Value, float>) {
        EXPECT_EQ(GetF32LE(record, at + 1), field.value) << name;
      } else {
        EXPECT_EQ(GetI32LE(record, at + 1), field.value) << name;
      }
    } else {
      EXPECT_EQ(std::memcmp(record.data() + at, field.data(), field.size()), 0) << name;
    }
  });
  EXPECT_EQ(checked, kFieldOffsets.size());
  // The bit pattern, not just the value: 200.0 is 00 00 48 43.
  PrinterConfig fresh;
  ResetConfig(fresh);
  const ConfigFileImage defaults = BuildConfigFileImage({kUnitInch, fresh, {}});
  EXPECT_EQ(GetU32LE(defaults, 12 + 5), 0x43480000U);
  EXPECT_EQ(GetU32LE(defaults, 12 + 9), 0x413CCCCDU);
}

TEST(ConfigFileImageTest, ParseGivesBackExactlyWhatWasBuilt) {
  const ConfigFileImage image = BuildConfigFileImage(Distinct());
  const std::optional<ConfigFileContents> parsed = ParseConfigFileImage(image);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(BuildConfigFileImage(*parsed), image);
  EXPECT_EQ(parsed->unit, kUnitMm);
  EXPECT_EQ(TextView(parsed->config.Version), "T4");
  EXPECT_EQ(parsed->config.PrintSpeedD.value, 159.0F);
}

TEST(ConfigFileImageTest, OnlyTheMagicAndTheLengthDecide) {
  ConfigFileImage image = BuildConfigFileImage(Distinct());
  PutU32LE(image, 4, 7);  // any version word loads
  EXPECT_TRUE(ParseConfigFileImage(image).has_value());

  std::vector<std::uint8_t> longer(image.begin(), image.end());
  longer.push_back(0x42);
  EXPECT_TRUE(ParseConfigFileImage(longer).has_value());

  EXPECT_FALSE(ParseConfigFileImage(std::span(image).first(637)).has_value());
  EXPECT_FALSE(ParseConfigFileImage({}).has_value());
  for (std::size_t byte = 0; byte < 4; ++byte) {
    ConfigFileImage damaged = image;
    damaged[byte] ^= 0x01;
    EXPECT_FALSE(ParseConfigFileImage(damaged).has_value()) << byte;
  }
}

}  // namespace
}  // namespace vantrel
