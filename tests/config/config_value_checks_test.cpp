#include "config/config_value_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace vantrel {
namespace {

struct ValueCase {
  const char* label;
  std::function<void(PrinterConfig&)> change;
  const char* refusal;  // empty: accepted
};

class ConfigValueRefusalTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ConfigValueRefusalTest, NamesTheFirstFieldThatCannotBeSent) {
  PrinterConfig config;
  ResetConfig(config);
  GetParam().change(config);
  EXPECT_EQ(ConfigValueRefusal(config), GetParam().refusal);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, ConfigValueRefusalTest,
    ::testing::Values(
        ValueCase{"Defaults", [](PrinterConfig&) {}, ""},
        ValueCase{"NaNSpeed", [](PrinterConfig& c) { c.Speed.Set(kNaN); },
                  "Speed is not a finite number"},
        ValueCase{"InfiniteDotsPerMm", [](PrinterConfig& c) { c.DotsPerMm = -kInfinity; },
                  "DotsPerMm is not a finite number"},
        // An unset item is never sent, whatever it holds.
        ValueCase{"UnsetNaNGap", [](PrinterConfig& c) { c.GapSize.value = kNaN; }, ""},
        ValueCase{"LineFeedPrefix", [](PrinterConfig& c) { c.FormatPrefixZ.Set('\n'); },
                  "FormatPrefixZ is a control character"},
        ValueCase{"DeleteDelimiter", [](PrinterConfig& c) { c.DelimiterCharZ.Set('\x7f'); },
                  "DelimiterCharZ is a control character"},
        // Each kind of item against its range: lists counting from 0 and from 1, a list matched
        // against a name table (one past it: a name the table lacks), plain numbers and reals.
        ValueCase{"ListFromZero", [](PrinterConfig& c) { c.Direction.Set(2147483647); },
                  "Direction 2147483647 is outside 0..1"},
        ValueCase{"ListBelowZero", [](PrinterConfig& c) { c.Density.Set(-1); },
                  "Density -1 is outside 0..15"},
        ValueCase{"ListTop", [](PrinterConfig& c) { c.Density.Set(15); }, ""},
        ValueCase{"NameTheTableLacks", [](PrinterConfig& c) { c.CodePage.Set(36); }, ""},
        ValueCase{"BeyondTheTable", [](PrinterConfig& c) { c.CodePage.Set(37); },
                  "CodePage 37 is outside 0..36"},
        ValueCase{"ListFromOne", [](PrinterConfig& c) { c.PrintModeZ.Set(0); },
                  "PrintModeZ 0 is outside 1..3"},
        ValueCase{"PlainNumber", [](PrinterConfig& c) { c.ShiftX.Set(6356992); },
                  "ShiftX 6356992 is outside -99999..99999"},
        ValueCase{"WidestReported", [](PrinterConfig& c) { c.LeftPositionZ.Set(-99999); }, ""},
        ValueCase{"Real", [](PrinterConfig& c) { c.PaperWidth.Set(1e6F); },
                  "PaperWidth 1e+06 is outside -99999..99999"},
        ValueCase{"UnsetOutOfRange", [](PrinterConfig& c) { c.Mirror.value = 7; }, ""},
        ValueCase{"HighBytePrefixAndFirstFaultFirst",
                  [](PrinterConfig& c) {
                    c.ControlPrefixZ.Set('\xb5');
                    c.PrintSpeedD.Set(kInfinity);
                    c.Dpi.Set(kNaN);
                  },
                  "Dpi is not a finite number"}),
    [](const ::testing::TestParamInfo<ValueCase>& param_info) { return param_info.param.label; });

}  // namespace
}  // namespace vantrel
