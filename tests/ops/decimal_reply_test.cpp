#include "ops/decimal_reply.h"

#include <gtest/gtest.h>

#include <limits>

namespace vantrel {
namespace {

TEST(DecimalReplyTest, IntegersAreLeadingNumbersThatNeverFail) {
  EXPECT_EQ(ParseDecimalInteger("  -12abc"), -12);
  EXPECT_EQ(ParseDecimalInteger("+7"), 7);
  EXPECT_EQ(ParseDecimalInteger("\t42 dots"), 42);
  EXPECT_EQ(ParseDecimalInteger("abc"), 0);
  EXPECT_EQ(ParseDecimalInteger(""), 0);
  EXPECT_EQ(ParseDecimalInteger("- 5"), 0);
  EXPECT_EQ(ParseDecimalInteger("99999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseDecimalInteger("-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(DecimalReplyTest, RealsAreLeadingNumbersWithoutInfinities) {
  EXPECT_EQ(ParseDecimalReal("203"), 203.0F);
  EXPECT_EQ(ParseDecimalReal(" 12.5mm"), 12.5F);
  EXPECT_EQ(ParseDecimalReal("-4.5"), -4.5F);
  EXPECT_EQ(ParseDecimalReal(".5"), 0.5F);
  EXPECT_EQ(ParseDecimalReal("7."), 7.0F);
  EXPECT_EQ(ParseDecimalReal("1e3"), 1000.0F);
  EXPECT_EQ(ParseDecimalReal("2e"), 2.0F);
  EXPECT_EQ(ParseDecimalReal("4,5"), 4.0F);
  for (const char* text : {"", ".", "-", "inf", "nan", "1e999", "x1"}) {
    EXPECT_EQ(ParseDecimalReal(text), 0.0F) << text;
  }
}

}  // namespace
}  // namespace vantrel
