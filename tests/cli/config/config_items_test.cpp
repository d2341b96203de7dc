// How the CLI shows one item's value, for each kind of item, at printers that differ.
#include "cli/config/config_items.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/config_at_resolution.h"
#include "support/config_item_named.h"

namespace vantrel::cli {
namespace {

using testing::ItemNamed;

TEST(ItemCellTest, EachKindShowsInTheUnit) {
  const PrinterConfig at203 = testing::ConfigAtResolution(203, 8);
  const PrinterConfig at300 = testing::ConfigAtResolution(300, 11.8F);
  const PrinterConfig unusable = testing::ConfigAtResolution(0, 0);
  const struct {
    const char* item;
    const PrinterConfig& printer;
    std::function<void(PrinterConfig&)> change;
    LengthUnit unit;
    std::string shown;
  } rows[] = {
      {"PaperWidth", at203, [](PrinterConfig& c) { c.PaperWidth.Set(50.8F); }, kUnitMm, "50.80 mm"},
      {"PaperWidth", at203, [](PrinterConfig& c) { c.PaperWidth.Set(50.8F); }, kUnitInch,
       "2.00 in"},
      {"PrintWidthZ", at203, [](PrinterConfig& c) { c.PrintWidthZ.Set(406); }, kUnitMm,
       "50.75 mm (406 dots)"},
      {"PrintWidthZ", at300, [](PrinterConfig& c) { c.PrintWidthZ.Set(1230); }, kUnitInch,
       "4.10 in (1230 dots)"},
      {"PrintWidthZ", unusable, [](PrinterConfig& c) { c.PrintWidthZ.Set(406); }, kUnitMm,
       "406 dots"},
      {"Speed", at203, [](PrinterConfig& c) { c.Speed.Set(5.5F); }, kUnitMm, "5.5 ips"},
      {"MediaSensor", at203, [](PrinterConfig& c) { c.MediaSensor.Set(1); }, kUnitMm, "Bline"},
      {"MediaSensor", at203, [](PrinterConfig& c) { c.MediaSensor.Set(99); }, kUnitMm, "(99)"},
      {"FormatPrefixZ", at203, [](PrinterConfig& c) { c.FormatPrefixZ.Set('#'); }, kUnitMm, "#"},
      {"FormatPrefixZ", at203, [](PrinterConfig& c) { c.FormatPrefixZ.Set('\x1b'); }, kUnitMm,
       "\\x1B"},
      {"HeatD", at203, [](PrinterConfig&) {}, kUnitMm, "-"},
  };
  for (const auto& row : rows) {
    PrinterConfig config = row.printer;
    row.change(config);
    EXPECT_EQ(ItemCell(ItemNamed(row.item), config, row.unit), row.shown) << row.item;
  }
}

}  // namespace
}  // namespace vantrel::cli
