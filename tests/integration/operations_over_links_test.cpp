// The status and control operations over every link the simulated printer can sit behind.
#include <gtest/gtest.h>

#include <vector>

#include "config/config_file_image.h"
#include "link_fixture.h"
#include "ops/dispatcher.h"
#include "ops/write_configuration.h"

namespace vantrel {
namespace {

using testing::SimLink;

class OperationsOverLinksTest : public testing::SimLinkTest {};

TEST_P(OperationsOverLinksTest, QueryStatusReadsByteAndDetail) {
  sim::SimState state;
  state.status_byte = 0x89;
  state.detail[4] = 0x08;
  printer_.SetState(state);
  StatusFlags flags;
  ASSERT_EQ(RunPrinterOperation(link_, kOpQueryStatus, interface_, &flags).code, kResultOk)
      << link_.LastFailure().detail;
  EXPECT_EQ(flags.flags, (std::array<std::uint8_t, 10>{1, 0, 0, 1, 0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(Received(8), "\x1b!?\x1b!S\r\n");
}

TEST_P(OperationsOverLinksTest, ControlCommandsArriveExactly) {
  const std::vector<std::pair<int, std::string>> commands = {
      {kOpFactoryDefault, "INITIALPRINTER\r\n"},
      {kOpPrintConfigurationPage, "SELFTEST\r\n"},
      {kOpResetPrinter, "\x1b!R"},
      {kOpIgnoreAutoBas, "\x1b!C"},
      {kOpProbeLink, ""}};
  std::string expected;
  for (const auto& [op, bytes] : commands) {
    ASSERT_EQ(RunPrinterOperation(link_, op, interface_, {}).code, kResultOk) << op;
    Settle();
    expected += bytes;
  }
  EXPECT_EQ(Received(expected.size()), expected);
}

TEST_P(OperationsOverLinksTest, RawBlockArrivesUnchanged) {
  std::vector<std::uint8_t> block(100000);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i % 251);
  ASSERT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, interface_, RawBlock{block}).code,
            kResultOk);
  EXPECT_EQ(Received(block.size()), std::string(block.begin(), block.end()));
}

TEST_P(OperationsOverLinksTest, ConfigurationWrittenPerBlockReadsBack) {
  PrinterConfig config;
  ResetConfig(config);
  ASSERT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, interface_, &config, 0).code,
            kResultOk)
      << link_.LastFailure().detail;
  config.Speed.Set(6.0F);
  config.PaperWidth.Set(76.0F);
  config.DarknessZ.Set(22);
  config.HeatD.Set(12);
  for (int block : {kBlockCommon, kBlockZ, kBlockD}) {
    ASSERT_EQ(RunPrinterOperation(link_, kOpWriteConfiguration, interface_, &config, block).code,
              kResultOk)
        << block;
    Settle();
  }
  PrinterConfig again;
  ResetConfig(again);
  ASSERT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, interface_, &again, 0).code,
            kResultOk);
  EXPECT_EQ(BuildConfigFileImage({kUnitMm, again, {}}),
            BuildConfigFileImage({kUnitMm, config, {}}));
}

INSTANTIATE_TEST_SUITE_P(Links, OperationsOverLinksTest,
                         ::testing::Values(SimLink::kTcp, SimLink::kPty), testing::SimLinkName);

}  // namespace
}  // namespace vantrel
