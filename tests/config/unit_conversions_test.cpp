#include "config/unit_conversions.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vantrel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

PrinterConfig FreshConfig() {
  PrinterConfig config;
  ResetConfig(config);
  return config;
}

TEST(ResetConfigTest, DefaultsAreTheExactValuesAndEveryItemIsUnset) {
  PrinterConfig config;
  config.Edition = 7;
  config.Speed.Set(9.0F);
  config.Version[0] = 'x';
  ResetConfig(config);
  EXPECT_EQ(config.Edition, 0);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(config.Dpi.value), 0x43480000U);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(config.DotsPerMm), 0x413CCCCDU);
  EXPECT_EQ(config.Speed.value, 3.0F);
  EXPECT_EQ(config.ControlPrefixZ.value, '~');
  EXPECT_EQ(config.FormatPrefixZ.value, '^');
  EXPECT_EQ(config.DelimiterCharZ.value, ',');
  EXPECT_EQ(TextView(config.Version), "");
  int set = 0;
  int fields = 0;
  ForEachField(config, [&](std::string_view, const auto& field) {
    ++fields;
    if constexpr (requires { field.flag; }) set += field.flag;
  });
  EXPECT_EQ(fields, 59);
  EXPECT_EQ(set, 0);
}

struct Resolution {
  float dpi;
  float dots_per_mm;
};

void PrintTo(const Resolution& c, std::ostream* os) {
  *os << c.dpi << " dpi";
}

class DotsPerMmTest : public ::testing::TestWithParam<Resolution> {};

TEST_P(DotsPerMmTest, ReportedResolutionGivesWholeDotsPerMillimetre) {
  EXPECT_EQ(DotsPerMmFromDpi(GetParam().dpi), GetParam().dots_per_mm) << GetParam().dpi;
}

INSTANTIATE_TEST_SUITE_P(Printers, DotsPerMmTest,
                         ::testing::Values(Resolution{203, 8}, Resolution{200, 8},
                                           Resolution{300, 12}, Resolution{600, 24},
                                           Resolution{1200, 47}, Resolution{13, 1},
                                           Resolution{254, 10}));

TEST(DotsPerMmFromDpiTest, ResolutionsWithoutWholeDotsPerMillimetreAreUnusable) {
  // 3 to 12 dpi give 1 to 4 tenths, which round to 0: a divisor of 0 later.
  for (float dpi : {0.0F, 2.0F, 3.0F, 12.0F, 12.7F, -200.0F, kNaN, kInfinity}) {
    EXPECT_EQ(DotsPerMmFromDpi(dpi), std::nullopt) << dpi;
  }
}

TEST(LengthConversionTest, PrinterDotsBecomeMillimetresAndShowInEitherUnit) {
  const std::optional<float> mm = DotsToMm(812, 8.0F);
  ASSERT_EQ(mm, 101.5F);
  EXPECT_EQ(MmToText(*mm, kUnitMm), "101.50");
  EXPECT_EQ(MmToText(*mm, kUnitInch), "4.00");
  EXPECT_EQ(MmToText(101.6F, kUnitInch), "4.00");
  EXPECT_EQ(ShownToMm(4.0F, kUnitInch), 101.6F);
  EXPECT_EQ(ShownToMm(4.0F, kUnitMm), 4.0F);
  for (float divisor : {0.0F, -8.0F, kNaN}) EXPECT_EQ(DotsToMm(812, divisor), std::nullopt);
}

TEST(LengthConversionTest, DotLengthsUseTheRecordsResolution) {
  PrinterConfig config = FreshConfig();  // 200 dpi and 11.8 dots/mm until a read
  EXPECT_EQ(ShownToDots("1", kUnitInch, config), 200);
  EXPECT_EQ(ShownToDots("10.00", kUnitMm, config), 118);
  EXPECT_EQ(ShownToDots("-0.0078125", kUnitInch, config), -1);  // -1.5625 toward zero
  EXPECT_EQ(ShownToDots("+.5e1", kUnitInch, config), 1000);
  EXPECT_EQ(ShownToDots("12.5e-3", kUnitInch, config), 2);
  EXPECT_EQ(ShownToDots("10737418.23", kUnitInch, config), 2147483646);
  for (const char* bad : {"", "-", ".", "1e", "1.2.3", "4,1", "inf", "nan", "0x10", "1 "}) {
    EXPECT_EQ(ShownToDots(bad, kUnitInch, config), std::nullopt) << bad;
  }
  for (const char* huge : {"1e12", "10737418.24", "-10737419", "1e99999999999"}) {
    EXPECT_EQ(ShownToDots(huge, kUnitInch, config), std::nullopt) << huge;
  }
  EXPECT_EQ(ShownToDots("1e-99999999999", kUnitInch, config), 0);
  EXPECT_EQ(DotsToText(200, kUnitInch, config), "1.00");

  config.Dpi.Set(203.0F);
  config.DotsPerMm = 8.0F;
  EXPECT_EQ(DotsToText(812, kUnitInch, config), "4.00");
  EXPECT_EQ(DotsToText(812, kUnitMm, config), "101.50");

  config.Dpi.value = 0;
  config.DotsPerMm = 0;
  EXPECT_EQ(DotsToText(812, kUnitInch, config), "");
  EXPECT_EQ(DotsToText(812, kUnitMm, config), "");
}

// Every two-decimal length up to 10.00 at every resolution printers report: the typed decimal
// times the resolution, truncated, in whole numbers. Binary doubles miss about half of these.
TEST_P(DotsPerMmTest, EveryHundredthUpToTenUnitsGivesItsExactDots) {
  PrinterConfig config = FreshConfig();
  config.Dpi.Set(GetParam().dpi);
  config.DotsPerMm = GetParam().dots_per_mm;
  for (const auto& [unit, per_unit] :
       {std::pair{kUnitInch, GetParam().dpi}, std::pair{kUnitMm, GetParam().dots_per_mm}}) {
    const auto whole = static_cast<std::int32_t>(per_unit);
    for (std::int32_t hundredths = 0; hundredths <= 1000; ++hundredths) {
      const std::string text = FormatHundredths(hundredths / 100.0L);
      const std::int32_t dots = hundredths * whole / 100;
      ASSERT_EQ(ShownToDots(text, unit, config), dots) << text << " at " << per_unit;
      ASSERT_EQ(ShownToDots("-" + text, unit, config), -dots) << text << " at " << per_unit;
    }
  }
}

// Every dot count a field can show, at every resolution: dots / resolution to two decimals,
// exact halves away from zero, in whole numbers. In binary 53 / 200 is just below 0.265.
TEST_P(DotsPerMmTest, EveryDotCountShowsItsRoundedHundredths) {
  PrinterConfig config = FreshConfig();
  config.Dpi.Set(GetParam().dpi);
  config.DotsPerMm = GetParam().dots_per_mm;
  for (const auto& [unit, per_unit] :
       {std::pair{kUnitInch, GetParam().dpi}, std::pair{kUnitMm, GetParam().dots_per_mm}}) {
    const auto whole = static_cast<std::int64_t>(per_unit);
    int wrong = 0;
    for (std::int64_t dots = -12500; dots <= 12500; ++dots) {
      const std::int64_t magnitude = (std::abs(dots) * 200 / whole + 1) / 2;
      char expected[32];
      std::snprintf(expected, sizeof expected, "%s%lld.%02lld", dots < 0 && magnitude ? "-" : "",
                    static_cast<long long>(magnitude / 100),
                    static_cast<long long>(magnitude % 100));
      if (DotsToText(static_cast<std::int32_t>(dots), unit, config) != expected) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << per_unit << (unit == kUnitInch ? " dpi" : " dots per mm");
  }
}

TEST(LengthConversionTest, HundredthsOfAnInchRoundHalfUp) {
  EXPECT_EQ(DotsToHundredthsInch(812, 203.0F), 400);
  EXPECT_EQ(DotsToHundredthsInch(400, 200.0F), 200);
  EXPECT_EQ(DotsToHundredthsInch(8, 203.0F), 4);  // 3.94
  EXPECT_EQ(DotsToHundredthsInch(1, 200.0F), 1);  // 0.5 + 0.5
  EXPECT_EQ(DotsToHundredthsInch(400, 0.0F), std::nullopt);
  EXPECT_EQ(DotsToHundredthsInch(2'000'000'000, 0.001F), std::nullopt);
}

TEST(FormatHundredthsTest, TwoDecimalsRoundedAwayFromZero) {
  EXPECT_EQ(FormatHundredths(3.0L), "3.00");
  EXPECT_EQ(FormatHundredths(0.125L), "0.13");
  EXPECT_EQ(FormatHundredths(-0.125L), "-0.13");
  EXPECT_EQ(FormatHundredths(-0.001L), "0.00");
  EXPECT_EQ(FormatHundredths(1e300L), "");
  EXPECT_EQ(FormatHundredths(std::numeric_limits<long double>::infinity()), "");
}

}  // namespace
}  // namespace vantrel
