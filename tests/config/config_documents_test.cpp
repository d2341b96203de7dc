// What a configuration document means on printers of other resolutions: its pages, its lengths
// in dots converted, and when two records hold the same setting.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "config/config_compare.h"
#include "config/config_file_image.h"
#include "config/config_resolution.h"
#include "config/unit_conversions.h"
#include "support/config_at_resolution.h"
#include "support/config_item_named.h"

namespace vantrel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using testing::ConfigAtResolution;
using testing::ItemNamed;

// Compares every field at once, bytes and flags included.
ConfigFileImage ImageOf(const PrinterConfig& config) {
  return BuildConfigFileImage({kUnitInch, config, {}});
}

TEST(ConfigItemsTest, EveryItemOfTheRecordIsOnExactlyOnePage) {
  std::multiset<std::string> record;
  int field = 0;
  const PrinterConfig config;
  ForEachField(config, [&](const char* name, const auto&) {
    if (field++ >= 7) record.insert(name);  // after the identity head
  });
  std::multiset<std::string> pages;
  std::set<std::string> unwritten;
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      pages.insert(item.name);
      EXPECT_EQ(item.page, page) << item.name;
      if (!item.written) unwritten.insert(item.name);
    }
  }
  EXPECT_EQ(pages, record);
  EXPECT_EQ(pages.size(), 52u);
  EXPECT_EQ(unwritten,
            (std::set<std::string>{"DensityBase", "OffsetBase", "ShiftXBase", "ShiftYBase"}));
}

TEST(ConvertDotsTest, NearestDotHalvesUp) {
  const struct {
    std::int32_t dots;
    float from;
    float to;
    std::optional<std::int32_t> converted;
  } cases[] = {
      {812, 203, 300, 1200},
      {812, 203, 600, 2400},
      {1200, 300, 203, 812},
      {771, 203, 300, 1139},  // 1139.4
      {771, 203, 600, 2279},  // 2278.8
      {1, 2, 3, 2},           // 1.5
      {-1, 2, 3, -1},         // -1.5
      {-4, 203, 300, -6},     // -5.9
      {5, 203, 203, 5},
      {10, 203.5F, 300, 15},  // 14.74, a resolution with a fraction
      {std::numeric_limits<std::int32_t>::max(), 203, 600, std::nullopt},
      {10, 0, 300, std::nullopt},
      {10, 203, kNaN, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertDots(c.dots, c.from, c.to), c.converted)
        << c.dots << " dots from " << c.from << " to " << c.to;
  }
}

TEST(DocumentAtResolutionTest, EveryLengthInDotsKeepsItsLengthAndNothingElseMoves) {
  PrinterConfig document = ConfigAtResolution(203, 8);
  document.PaperWidth.Set(101.5F);
  document.Density.Set(8);
  document.LeftPositionZ.Set(40);
  const struct {
    IntItem PrinterConfig::*item;
    std::int32_t at_203;
    std::int32_t at_300;
  } lengths[] = {
      {&PrinterConfig::ReferenceX, 16, 24},     {&PrinterConfig::ReferenceY, 1, 1},
      {&PrinterConfig::Offset, -12, -18},       {&PrinterConfig::ShiftX, 8, 12},
      {&PrinterConfig::ShiftY, -4, -6},         {&PrinterConfig::PrintWidthZ, 812, 1200},
      {&PrinterConfig::LabelWidthD, 813, 1200},  // sent as 4.00 in: the 300 dots of 4.00 in
      {&PrinterConfig::ColumnOffsetD, 20, 30},  {&PrinterConfig::RowOffsetD, 41, 60},
  };
  for (const auto& length : lengths) (document.*length.item).Set(length.at_203);

  const PrinterConfig printer = ConfigAtResolution(300, 12);
  const DocumentAtPrinter converted = DocumentAtResolution(document, printer);
  EXPECT_EQ(converted.conversion, "converted from 203 to 300 dpi");
  EXPECT_EQ(converted.failure, "");
  PrinterConfig expected = document;
  for (const auto& length : lengths) (expected.*length.item).value = length.at_300;
  expected.Dpi.value = 300;
  expected.DotsPerMm = 12;
  EXPECT_EQ(ImageOf(converted.config), ImageOf(expected));

  const DocumentAtPrinter same = DocumentAtResolution(document, ConfigAtResolution(203, 8));
  EXPECT_EQ(same.conversion, "");
  EXPECT_EQ(ImageOf(same.config), ImageOf(document));

  document.PrintWidthZ.Set(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(DocumentAtResolution(document, printer).failure,
            "Z emulation / Print Width (2147483647 dots) cannot be converted from 203 to 300 dpi");
}

TEST(SameItemValueTest, EachValueAtItsOwnResolution) {
  const PrinterConfig at_203 = ConfigAtResolution(203, 8);
  const PrinterConfig at_300 = ConfigAtResolution(300, 12);
  const PrinterConfig at_600 = ConfigAtResolution(600, 24);
  const struct {
    const char* item;
    const PrinterConfig* a_resolution;
    float a;
    const PrinterConfig* b_resolution;
    float b;
    bool same;
  } cases[] = {
      {"PrintWidthZ", &at_203, 812, &at_300, 1200, true},
      {"PrintWidthZ", &at_300, 1200, &at_203, 812, true},
      {"PrintWidthZ", &at_203, 812, &at_300, 1201, false},
      {"PrintWidthZ", &at_203, 812, &at_203, 813, false},  // one resolution: the dots decide
      {"ReferenceX", &at_203, 16, &at_600, 47, true},
      {"ReferenceX", &at_203, 16, &at_600, 48, true},  // 16.2 dots at 203
      {"ReferenceX", &at_203, 16, &at_600, 49, false},
      {"LabelWidthD", &at_203, 813, &at_203, 812, true},  // both sent as 4.00 in
      {"LabelWidthD", &at_203, 20, &at_600, 60, true},
      {"LabelWidthD", &at_203, 20, &at_600, 66, false},
      {"PaperWidth", &at_203, 101.6F, &at_203, 101.59999F, true},
      {"PaperWidth", &at_203, 101.6F, &at_300, 1219.0F / 12, true},  // the printer's dot
      {"PaperWidth", &at_203, 101.5F, &at_203, 101.6F, false},
      {"PaperWidth", &at_203, kNaN, &at_203, std::numeric_limits<float>::infinity(), false},
      {"Speed", &at_203, 4.0F, &at_300, 4.5F, false},
      {"Density", &at_203, 8, &at_600, 8, true},
  };
  for (const auto& c : cases) {
    const ConfigItem& item = ItemNamed(c.item);
    PrinterConfig a = *c.a_resolution;
    PrinterConfig b = *c.b_resolution;
    std::visit(
        [&](auto member) {
          (a.*member).Set(static_cast<decltype((a.*member).value)>(c.a));
          (b.*member).Set(static_cast<decltype((b.*member).value)>(c.b));
        },
        item.field);
    EXPECT_EQ(SameItemValue(item, a, b), c.same)
        << c.item << " " << c.a << " @" << a.Dpi.value << " vs " << c.b << " @" << b.Dpi.value;
  }
}

TEST(CompareConfigsTest, APrinterIsComparedOnTheWrittenItemsTheDocumentSets) {
  PrinterConfig document = ConfigAtResolution(203, 8);
  document.PrintWidthZ.Set(812);
  document.DarknessZ.Set(15);
  document.LabelTopZ.Set(4);
  document.DensityBase.Set(8);
  PrinterConfig printer = ConfigAtResolution(300, 12);
  printer.PrintWidthZ.Set(1200);
  printer.DarknessZ.Set(20);
  printer.TearOffZ.Set(10);  // not in the document
  printer.DensityBase.Set(9);
  const ConfigDifferences found =
      CompareWithPrinter(document, printer, std::span(kConfigPages.begin(), kConfigPages.end()));
  EXPECT_EQ(ItemList(found.differing), "Z emulation / Darkness");
  EXPECT_EQ(ItemList(found.unreported), "Z emulation / Label Top");

  const ConfigPage z = ConfigPage::kZ;
  EXPECT_EQ(ItemList(CompareDocuments(document, printer, std::span(&z, 1)).differing),
            "Z emulation / Darkness, Z emulation / Tear Off, Z emulation / Label Top");
  EXPECT_EQ(PageRefusal(document, ConfigPage::kD, "a.dcf"),
            "a.dcf sets nothing on the D emulation page");
  EXPECT_EQ(PageRefusal(document, ConfigPage::kZ, "a.dcf"), "");
  // A reference value is never written: it alone is nothing to write.
  EXPECT_EQ(PageRefusal(document, ConfigPage::kCommon, "a.dcf"),
            "a.dcf sets nothing on the Common page");
}

}  // namespace
}  // namespace vantrel
