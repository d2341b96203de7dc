// Configuration reads and writes against the simulated printer over real loopback TCP.
#include <gtest/gtest.h>

#include <functional>

#include "config/config_file_image.h"
#include "engine/sim_profile.h"
#include "ops/dispatcher.h"
#include "ops/write_configuration.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

class ConfigOverSimTest : public testing::SimFixture {
 protected:
  PrinterConfig ReadPrinter() {
    PrinterConfig config;
    ResetConfig(config);
    EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceEthernet, &config, 1).code,
              kResultOk);
    return config;
  }

  void UseProfile(const char* file) {
    printer_.SetState(sim::LoadSimProfile(std::string(VANTREL_SIM_PROFILES) + "/" + file));
  }
};

// Compares every field at once, bytes and flags included.
ConfigFileImage ImageOf(const PrinterConfig& config) {
  return BuildConfigFileImage({kUnitInch, config, {}});
}

TEST_F(ConfigOverSimTest, DefaultPrinterReadsCompletely) {
  const PrinterConfig c = ReadPrinter();
  EXPECT_EQ(c.Dpi.value, 203.0F);
  EXPECT_EQ(c.DotsPerMm, 8.0F);
  EXPECT_EQ(c.PaperWidth.value, 101.5F);
  EXPECT_EQ(c.Edition, 105);
  EXPECT_EQ(TextView(c.SerialNo), "SIM0000001");
  EXPECT_TRUE(c.RowOffsetD.set());
  EXPECT_EQ(c.PrintSpeedZ.value, 4);
  EXPECT_EQ(c.PrintSpeedD.value, 4.0F);
}

struct RoundTrip {
  const char* what;
  int block;
  std::function<void(PrinterConfig&)> edit;
};

void PrintTo(const RoundTrip& c, std::ostream* os) {
  *os << c.what;
}

class RoundTripTest : public ConfigOverSimTest, public ::testing::WithParamInterface<RoundTrip> {};

// Read, change the items of one block, write that block, read again: the printer now reports
// exactly the written record, and nothing of the other blocks moved.
TEST_P(RoundTripTest, WrittenBlockReadsBackExactly) {
  PrinterConfig written = ReadPrinter();
  GetParam().edit(written);
  ASSERT_EQ(RunPrinterOperation(link_, kOpWriteConfiguration, kInterfaceEthernet, &written,
                                GetParam().block)
                .code,
            kResultOk);
  EXPECT_EQ(ImageOf(ReadPrinter()), ImageOf(written));
}

INSTANTIATE_TEST_SUITE_P(Blocks, RoundTripTest,
                         ::testing::Values(RoundTrip{"common", kBlockCommon,
                                                     [](PrinterConfig& c) {
                                                       c.Speed.Set(6.0F);
                                                       c.Density.Set(12);
                                                       c.PaperWidth.Set(76.25F);
                                                       c.PaperHeight.Set(38.0F);
                                                       c.MediaSensor.Set(1);
                                                       c.GapSize.Set(2.5F);
                                                       c.GapOffset.Set(0.75F);
                                                       c.BlineInten.Set(7);
                                                       c.PostPrintAction.Set(3);
                                                       c.CutPiece.Set(5);
                                                       c.ReferenceX.Set(16);
                                                       c.ReferenceY.Set(24);
                                                       c.Direction.Set(1);
                                                       c.Mirror.Set(1);
                                                       c.Offset.Set(-12);
                                                       c.ShiftX.Set(9);
                                                       c.ShiftY.Set(-7);
                                                       c.Ribbon.Set(1);
                                                       c.CodePage.Set(35);
                                                       c.CountryCode.Set(17);
                                                       c.HeadUpSensor.Set(0);
                                                       c.ReprintAfterError.Set(0);
                                                       c.BaudRate.Set(8);
                                                       c.DataBits.Set(0);
                                                       c.Parity.Set(2);
                                                       c.StopBits.Set(1);
                                                     }},
                                           RoundTrip{"continuous media, peel", kBlockCommon,
                                                     [](PrinterConfig& c) {
                                                       c.MediaSensor.Set(2);
                                                       c.ContinuousInten.Set(2);
                                                       c.PostPrintAction.Set(2);
                                                     }},
                                           RoundTrip{"Z", kBlockZ,
                                                     [](PrinterConfig& c) {
                                                       c.DarknessZ.Set(22);
                                                       c.PrintSpeedZ.Set(5);
                                                       c.TearOffZ.Set(-15);
                                                       c.PrintModeZ.Set(3);
                                                       c.PrintWidthZ.Set(600);
                                                       c.ControlPrefixZ.Set('#');
                                                       c.FormatPrefixZ.Set('%');
                                                       c.DelimiterCharZ.Set(';');
                                                       c.MediaPowerUpZ.Set(4);
                                                       c.HeadCloseZ.Set(3);
                                                       c.LabelTopZ.Set(12);
                                                       c.LeftPositionZ.Set(-40);
                                                     }},
                                           RoundTrip{"D", kBlockD, [](PrinterConfig& c) {
                                                       c.HeatD.Set(25);
                                                       c.PrintSpeedD.Set(13.0F);
                                                       c.LabelWidthD.Set(609);
                                                       c.PresentSensorD.Set(2);
                                                       c.CutterEquippedD.Set(2);
                                                       c.ControlCodesD.Set(3);
                                                       c.ColumnOffsetD.Set(203);
                                                       c.RowOffsetD.Set(406);
                                                     }}));

TEST_F(ConfigOverSimTest, OlderPrinterReadsWithoutItsUnknownSettings) {
  UseProfile("printer-older.json");
  PrinterConfig written = ReadPrinter();
  EXPECT_TRUE(written.StopBits.set());
  EXPECT_FALSE(written.ReprintAfterError.set());
  EXPECT_FALSE(written.ShiftX.set());
  EXPECT_EQ(written.Edition, 0);
  EXPECT_FALSE(written.DarknessZ.set());

  // It ignores the settings it does not know.
  written.ReprintAfterError.Set(0);
  written.ShiftY.Set(3);
  written.ShiftX.Set(4);
  ASSERT_EQ(
      RunPrinterOperation(link_, kOpWriteConfiguration, kInterfaceEthernet, &written, kBlockCommon)
          .code,
      kResultOk);
  const PrinterConfig after = ReadPrinter();
  EXPECT_EQ(after.ShiftY.value, 3);
  EXPECT_FALSE(after.ShiftX.set());
}

TEST_F(ConfigOverSimTest, Edition99PrinterHasNoEmulationItems) {
  UseProfile("printer-edition99.json");
  const PrinterConfig c = ReadPrinter();
  EXPECT_EQ(c.Edition, 99);
  EXPECT_TRUE(c.ShiftXBase.set());
  EXPECT_FALSE(c.DarknessZ.set());
  EXPECT_FALSE(c.RowOffsetD.set());
}

TEST_F(ConfigOverSimTest, DefaultProfileFileDescribesTheBuiltInPrinter) {
  const PrinterConfig built_in = ReadPrinter();
  UseProfile("printer-203dpi.json");
  EXPECT_EQ(ImageOf(ReadPrinter()), ImageOf(built_in));
}

TEST(SimConfigProfileTest, SerialCanBeSilencedAndMistakesAreNamed) {
  EXPECT_FALSE(sim::ParseSimProfile(R"({"config": {"serial": null}})").config.serial_number);
  EXPECT_EQ(
      sim::ParseSimProfile(R"({"config": {"reports": {"DPI": "300"}}})").config.reports.at("DPI"),
      "300");
  EXPECT_THROW(sim::ParseSimProfile(R"({"config": {"reports": {"DPI": 203}}})"),
               sim::SimProfileError);
  EXPECT_THROW(sim::ParseSimProfile(R"({"config": {"unknown": "EDITION"}})"), sim::SimProfileError);
  EXPECT_THROW(sim::ParseSimProfile(R"({"config": {"colour": 1}})"), sim::SimProfileError);
}

}  // namespace
}  // namespace vantrel
