// `status --json`: the flags as read and the captions of the lit labels, in the order shown.
#include "cli/status/status_json.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

TEST(StatusJsonTest, FlagsAndLitLabels) {
  EXPECT_EQ(StatusJson({{0, 0, 0, 1, 0, 1, 0, 0, 0, 1}}),
            nlohmann::json({{"flags", {0, 0, 0, 1, 0, 1, 0, 0, 0, 1}},
                            {"lit", {"Ribbon End Err.", "Printting"}}}));
}

}  // namespace
}  // namespace vantrel::cli
