#include "common/parse_digits.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>

namespace vantrel {
namespace {

using namespace std::string_view_literals;

TEST(ParseDigitsTest, TakesOnlyPlainDecimalDigitsThatFitAnInt) {
  constexpr int kMax = std::numeric_limits<int>::max();
  const struct {
    std::string_view digits;
    std::optional<int> value;
  } cases[] = {
      {"", std::nullopt},
      {"0", 0},
      {"7", 7},
      {"007", 7},
      {"000000000002147483647", kMax},
      {"2147483647", kMax},
      {"2147483648", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"-1", std::nullopt},
      {"-0", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"12a", std::nullopt},
      {"a12", std::nullopt},
      {"1.5", std::nullopt},
      {"0x1", std::nullopt},
      {"1\0"sv, std::nullopt},
      {"\xd9\xa1", std::nullopt},  // a digit, but not an ASCII one
  };
  for (const auto& [digits, value] : cases) {
    EXPECT_EQ(ParseDigits(digits), value) << '"' << digits << '"';
  }
  // Only the view's bytes count, not what follows them in memory.
  EXPECT_EQ(ParseDigits("123"sv.substr(0, 2)), 12);
}

}  // namespace
}  // namespace vantrel
