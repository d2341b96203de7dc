// vantrel-cli doctor: one interface only with -i, the JSON rows, and the exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

class CliDoctorTest : public testing::SimFixture {};

TEST_F(CliDoctorTest, NetworkPrinterThatAnswersExitsZeroWithJsonRows) {
  const auto run = testing::RunCli("doctor -i net --host 127.0.0.1 --json --port " +
                                   std::to_string(server_.port()));
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const auto rows = nlohmann::json::parse(run.out);
  ASSERT_EQ(rows.size(), 4u);
  for (const auto& row : rows) {
    EXPECT_EQ(row.size(), 5u);
    EXPECT_EQ(row["interface"], "net");
    EXPECT_EQ(row["ok"], true);
  }
}

TEST_F(CliDoctorTest, FailedCheckExitsOneAndPrintsItsFix) {
  const auto run = testing::RunCli("doctor -i lpt --lpt /nonexistent/lp9");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("lpt  port           FAIL  /nonexistent/lp9 does not exist"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("fix: load the parallel port driver"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
