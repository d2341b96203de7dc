#include "ops/status_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

StatusFlags FlagsFrom(std::uint8_t status, std::uint8_t encoder, std::uint8_t ribbon_end) {
  StatusFlags flags;
  for (std::size_t bit = 0; bit < 8; ++bit) flags.flags[bit] = (status >> bit) & 1U;
  flags.flags[8] = encoder;
  flags.flags[9] = ribbon_end;
  return flags;
}

std::vector<std::string> Lit(const StatusFlags& flags) {
  std::vector<std::string> lit;
  const StatusLabelStates states = LitStatusLabels(flags);
  for (int label = 0; label < kStatusLabelCount; ++label) {
    if (states[static_cast<std::size_t>(label)]) {
      lit.emplace_back(StatusLabelCaption(static_cast<StatusLabel>(label)));
    }
  }
  return lit;
}

using Labels = std::vector<std::string>;

TEST(StatusLabelsTest, LightingRule) {
  EXPECT_EQ(Lit(FlagsFrom(0x00, 0, 0)), Labels{"Ready"});
  EXPECT_EQ(Lit(FlagsFrom(0x40, 0, 0)), Labels{"Ready"});  // bit 6 is never shown
  EXPECT_EQ(Lit(FlagsFrom(0x08, 1, 0)), Labels{"Ribbon Encoder Err."});
  EXPECT_EQ(Lit(FlagsFrom(0x08, 0, 1)), Labels{"Ribbon End Err."});
  EXPECT_EQ(Lit(FlagsFrom(0x08, 0, 0)), Labels{});
  EXPECT_EQ(Lit(FlagsFrom(0x00, 1, 1)), Labels{"Ready"});  // ribbon detail needs status bit 3
  EXPECT_EQ(Lit(FlagsFrom(0x21, 0, 0)), (Labels{"Head Open", "Printting"}));
  EXPECT_EQ(Lit(FlagsFrom(0xFF, 0, 1)),
            (Labels{"Head Open", "Paper Jam", "Out of Paper", "Ribbon End Err.", "Pause",
                    "Printting", "Other Error"}));
}

}  // namespace
}  // namespace vantrel
