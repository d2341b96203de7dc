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
