#include "ops/write_configuration.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ops/dispatcher.h"
#include "support/progress_recorder.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::Script;
using testing::ScriptedOpener;
using Commands = std::vector<std::string>;

std::string ZControl(const std::string& command) {
  return "\020" + command + "\036XA\036JUS\036XZ\r\n";
}
std::string ZFormat(const std::string& command) {
  return "\036XA\036" + command + "\036JUS\036XZ\r\n";
}
std::string DCommand(const std::string& command) {
  return "\x02" + command + "\r\r\n~" + command + "\r\r\n~" + command + "|\r\n";
}

PrinterConfig FreshConfig() {
  PrinterConfig config;
  ResetConfig(config);
  return config;
}

// A record as a 203-dpi printer of edition 100 would fill it.
PrinterConfig EverythingSet() {
  PrinterConfig c = FreshConfig();
  c.Dpi.Set(203.0F);
  c.DotsPerMm = 8.0F;
  c.Speed.Set(4.0F);
  c.Density.Set(8);
  c.DensityBase.Set(7);
  c.PaperWidth.Set(101.5F);
  c.PaperHeight.Set(50.75F);
  c.MediaSensor.Set(1);
  c.GapSize.Set(3.0F);
  c.GapOffset.Set(0.0F);
  c.PostPrintAction.Set(3);
  c.CutPiece.Set(2);
  c.ReferenceX.Set(10);
  c.ReferenceY.Set(20);
  c.Direction.Set(1);
  c.Mirror.Set(0);
  c.Offset.Set(-3);
  c.OffsetBase.Set(1);
  c.ShiftY.Set(5);
  c.ShiftYBase.Set(2);
  c.ShiftX.Set(-8);
  c.ShiftXBase.Set(3);
  c.Ribbon.Set(1);
  c.CodePage.Set(35);
  c.CountryCode.Set(17);
  c.HeadUpSensor.Set(0);
  c.ReprintAfterError.Set(1);
  c.GapInten.Set(4);
  c.BlineInten.Set(5);
  c.ContinuousInten.Set(6);
  c.BaudRate.Set(4);
  c.DataBits.Set(1);
  c.Parity.Set(0);
  c.StopBits.Set(0);
  c.DarknessZ.Set(15);
  c.PrintSpeedZ.Set(4);
  c.TearOffZ.Set(-10);
  c.PrintModeZ.Set(2);
  c.PrintWidthZ.Set(812);
  c.ControlPrefixZ.Set('#');
  c.FormatPrefixZ.Set('^');
  c.DelimiterCharZ.Set(';');
  c.MediaPowerUpZ.Set(2);
  c.HeadCloseZ.Set(4);
  c.LabelTopZ.Set(-20);
  c.LeftPositionZ.Set(100);
  c.HeatD.Set(12);
  c.PrintSpeedD.Set(4.0F);
  c.LabelWidthD.Set(812);
  c.PresentSensorD.Set(2);
  c.CutterEquippedD.Set(1);
  c.ControlCodesD.Set(2);
  c.ColumnOffsetD.Set(8);
  c.RowOffsetD.Set(406);
  return c;
}

class WriteConfigurationTest : public ::testing::Test {
 protected:
  WriteConfigurationTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  // Every command is one write, so the chunks are the commands.
  Commands Write(const PrinterConfig& config, int block) {
    script_->chunks.clear();
    EXPECT_EQ(WriteConfiguration(link_, kInterfaceEthernet, config, block), kResultOk);
    EXPECT_EQ(script_->closes, script_->opens);
    return script_->chunks;
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
};

// Each block sends exactly its own commands, in order: never another block's.
TEST_F(WriteConfigurationTest, EveryItemOfEachBlockGoesOutInOrder) {
  const PrinterConfig c = EverythingSet();
  EXPECT_EQ(
      Write(c, kBlockCommon),
      (Commands{"SPEED 4.0\r\n", "DENSITY 8\r\n", "SIZE 101.50 mm,50.75 mm\r\n",
                "BLINE 3.00 mm,0.00 mm\r\n", "SET TEAR OFF\r\nSET PEEL OFF\r\nSET CUTTER 2\r\n",
                "REFERENCE 10,20\r\n", "DIRECTION 1,0\r\n", "OFFSET -3 dot\r\n", "SHIFT -8,5\r\n",
                "SET RIBBON ON\r\n", "CODEPAGE 8859-15\r\n", "COUNTRY 049\r\n", "SET HEAD OFF\r\n",
                "SET REPRINT ON\r\n", "SET GAP 5\r\n", "SET COM1 96,N,8,1\r\n"}));
  EXPECT_EQ(Write(c, kBlockZ),
            (Commands{ZControl("SD15"), ZFormat("PR4"), ZControl("TA-10"), ZFormat("MMP"),
                      ZFormat("PW812"), ZControl("CT#"), ZControl("CC^"), ZControl("CD;"),
                      ZFormat("MFC"), ZFormat("MF;N"), ZFormat("LT-20"), ZFormat("LS100")}));
  EXPECT_EQ(Write(c, kBlockD), (Commands{DCommand("KZH12"), DCommand("KZPG"),
                                         DCommand("KcLW0400;PSY;CEN;CC1;CO0004;RO0200;")}));
}

TEST_F(WriteConfigurationTest, EmptyBlocksAndUnknownBlocksSendNothingAndSucceed) {
  const PrinterConfig fresh = FreshConfig();
  for (int block : {0, 1, 2, 3, -1}) {
    EXPECT_TRUE(Write(fresh, block).empty()) << block;
  }
  EXPECT_TRUE(Write(EverythingSet(), 3).empty());
  EXPECT_EQ(script_->opens, 6);
}

TEST_F(WriteConfigurationTest, OnlyAFlagOfOneSetsCommonAndDItemsWhileZTakesAnyFlag) {
  const PrinterConfig set = EverythingSet();
  const Commands z = Write(set, kBlockZ);
  for (const int flag : {2, 255}) {
    PrinterConfig crafted = set;
    ForEachField(crafted, [&](std::string_view, auto& field) {
      if constexpr (requires { field.flag; }) field.flag = static_cast<std::uint8_t>(flag);
    });
    EXPECT_TRUE(Write(crafted, kBlockCommon).empty()) << flag;
    EXPECT_TRUE(Write(crafted, kBlockD).empty()) << flag;
    EXPECT_EQ(Write(crafted, kBlockZ), z) << flag;
  }
}

struct BlockCase {
  const char* what;
  int block;
  std::function<void(PrinterConfig&)> edit;
  Commands expected;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
  *os << c.what;
}

class BlockCaseTest : public WriteConfigurationTest,
                      public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockCaseTest, SendsExactlyTheseCommands) {
  PrinterConfig config = FreshConfig();
  GetParam().edit(config);
  EXPECT_EQ(Write(config, GetParam().block), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Common, BlockCaseTest,
    ::testing::Values(BlockCase{"speed only",
                                kBlockCommon,
                                [](PrinterConfig& c) { c.Speed.Set(4.0F); },
                                {"SPEED 4.0\r\n"}},
                      BlockCase{"width without height",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.PaperWidth.Set(101.6F);
                                  c.Density.Set(3);
                                },
                                {"DENSITY 3\r\n"}},
                      BlockCase{"continuous media without gap sizes",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.MediaSensor.Set(2);
                                  c.ContinuousInten.Set(7);
                                  c.GapInten.Set(1);
                                },
                                {"GAP 0,0\r\n", "SET GAP 7\r\n"}},
                      BlockCase{"gap media with only the gap size",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.MediaSensor.Set(0);
                                  c.GapSize.Set(3.0F);
                                },
                                {}},
                      BlockCase{"gap media",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.MediaSensor.Set(0);
                                  c.GapSize.Set(2.0F);
                                  c.GapOffset.Set(0.5F);
                                  c.GapInten.Set(3);
                                },
                                {"GAP 2.00 mm,0.50 mm\r\n", "SET GAP 3\r\n"}},
                      BlockCase{"cutter without pieces",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.PostPrintAction.Set(3);
                                  c.CutPiece.Set(0);
                                },
                                {"SET TEAR OFF\r\nSET PEEL OFF\r\nSET CUTTER 1\r\n"}},
                      BlockCase{"post-print action out of range",
                                kBlockCommon,
                                [](PrinterConfig& c) { c.PostPrintAction.Set(4); },
                                {}},
                      BlockCase{"shift X only",
                                kBlockCommon,
                                [](PrinterConfig& c) { c.ShiftX.Set(8); },
                                {"SHIFT 8,0\r\n"}},
                      BlockCase{"shift Y only",
                                kBlockCommon,
                                [](PrinterConfig& c) { c.ShiftY.Set(-4); },
                                {"SHIFT -4\r\n"}},
                      BlockCase{"direction without mirror",
                                kBlockCommon,
                                [](PrinterConfig& c) { c.Direction.Set(1); },
                                {"DIRECTION 1\r\n"}},
                      BlockCase{"choices outside their tables",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.CodePage.Set(36);
                                  c.CountryCode.Set(-1);
                                  c.BaudRate.Set(9);
                                  c.DataBits.Set(1);
                                  c.Parity.Set(1);
                                  c.StopBits.Set(1);
                                },
                                {}},
                      BlockCase{"serial line, odd parity",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.BaudRate.Set(8);
                                  c.DataBits.Set(0);
                                  c.Parity.Set(1);
                                  c.StopBits.Set(1);
                                },
                                {"SET COM1 115,O,7,2\r\n"}},
                      BlockCase{"intensity of another mode",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.MediaSensor.Set(1);
                                  c.GapInten.Set(4);
                                },
                                {}},
                      BlockCase{"any non-zero switch is ON",
                                kBlockCommon,
                                [](PrinterConfig& c) {
                                  c.Ribbon.Set(5);
                                  c.HeadUpSensor.Set(-1);
                                },
                                {"SET RIBBON ON\r\n", "SET HEAD ON\r\n"}}));

INSTANTIATE_TEST_SUITE_P(
    Z, BlockCaseTest,
    ::testing::Values(BlockCase{"darkness",
                                kBlockZ,
                                [](PrinterConfig& c) { c.DarknessZ.Set(15); },
                                {std::string("\x10SD15\x1EXA\x1EJUS\x1EXZ\r\n")}},
                      BlockCase{"head close with the default delimiter",
                                kBlockZ,
                                [](PrinterConfig& c) { c.HeadCloseZ.Set(2); },
                                {std::string("\x1EXA\x1EMF,C\x1EJUS\x1EXZ\r\n")}},
                      BlockCase{"head close uses the record's delimiter even when unset",
                                kBlockZ,
                                [](PrinterConfig& c) {
                                  c.HeadCloseZ.Set(1);
                                  c.DelimiterCharZ.value = '|';
                                },
                                {ZFormat("MF|F")}},
                      BlockCase{"choices out of range",
                                kBlockZ,
                                [](PrinterConfig& c) {
                                  c.PrintModeZ.Set(0);
                                  c.MediaPowerUpZ.Set(5);
                                  c.HeadCloseZ.Set(-1);
                                },
                                {}}));

INSTANTIATE_TEST_SUITE_P(
    D, BlockCaseTest,
    ::testing::Values(BlockCase{"heat only",
                                kBlockD,
                                [](PrinterConfig& c) { c.HeatD.Set(10); },
                                {std::string("\x02KZH10\r\r\n~KZH10\r\r\n~KZH10|\r\n")}},
                      BlockCase{"heat is zero-padded",
                                kBlockD,
                                [](PrinterConfig& c) { c.HeatD.Set(5); },
                                {DCommand("KZH05")}},
                      BlockCase{"label width at 203 dpi",
                                kBlockD,
                                [](PrinterConfig& c) {
                                  c.Dpi.Set(203.0F);
                                  c.LabelWidthD.Set(812);
                                },
                                {DCommand("KcLW0400;")}},
                      BlockCase{"label width at the default 200 dpi",
                                kBlockD,
                                [](PrinterConfig& c) { c.LabelWidthD.Set(400); },
                                {DCommand("KcLW0200;")}},
                      BlockCase{"present sensor alone",
                                kBlockD,
                                [](PrinterConfig& c) { c.PresentSensorD.Set(2); },
                                {DCommand("KcPSY;")}},
                      BlockCase{"choices out of range",
                                kBlockD,
                                [](PrinterConfig& c) {
                                  c.PresentSensorD.Set(3);
                                  c.CutterEquippedD.Set(0);
                                  c.ControlCodesD.Set(4);
                                },
                                {}},
                      // A loaded file can hold a resolution of 0: the dot lengths cannot be
                      // converted and are left out, the rest still goes.
                      BlockCase{"no usable resolution",
                                kBlockD,
                                [](PrinterConfig& c) {
                                  c.Dpi.Set(0.0F);
                                  c.LabelWidthD.Set(400);
                                  c.RowOffsetD.Set(8);
                                  c.CutterEquippedD.Set(2);
                                },
                                {DCommand("KcCEY;")}}));

struct SpeedLetter {
  float speed;
  char letter;
};

void PrintTo(const SpeedLetter& c, std::ostream* os) {
  *os << c.speed << " ips as " << c.letter;
}

class DSpeedLetterTest : public WriteConfigurationTest,
                         public ::testing::WithParamInterface<SpeedLetter> {};

TEST_P(DSpeedLetterTest, SpeedIsSentAsThePrintersLetter) {
  PrinterConfig config = FreshConfig();
  config.PrintSpeedD.Set(GetParam().speed);
  EXPECT_EQ(Write(config, kBlockD), Commands{DCommand(std::string("KZP") + GetParam().letter)});
}

INSTANTIATE_TEST_SUITE_P(Speeds, DSpeedLetterTest,
                         ::testing::Values(SpeedLetter{1.0F, 'A'}, SpeedLetter{4.0F, 'G'},
                                           SpeedLetter{11.5F, 'V'}, SpeedLetter{12.0F, 'W'},
                                           SpeedLetter{13.0F, 'X'}, SpeedLetter{15.0F, 'Z'},
                                           SpeedLetter{16.0F, 'a'}, SpeedLetter{20.0F, 'e'},
                                           SpeedLetter{0.5F, 'G'}, SpeedLetter{21.0F, 'G'}));

TEST_F(WriteConfigurationTest, FirstFailedCommandEndsTheWrite) {
  script_->fail_write_at_chunk = 2;
  EXPECT_EQ(WriteConfiguration(link_, kInterfaceEthernet, EverythingSet(), kBlockCommon),
            kResultTransmissionError);
  EXPECT_EQ(script_->chunks, (Commands{"SPEED 4.0\r\n", "DENSITY 8\r\n"}));
  EXPECT_EQ(script_->closes, 1);

  script_->fail_open = true;
  EXPECT_EQ(WriteConfiguration(link_, kInterfaceEthernet, EverythingSet(), kBlockZ),
            kResultPortOpenError);
  EXPECT_EQ(script_->chunks.size(), 2U);
}

TEST_F(WriteConfigurationTest, DispatcherWritesTheBlockOfExtraInsideTheProgressWindow) {
  testing::ProgressRecorder recorder;
  link_.progress().SetView(&recorder);
  PrinterConfig config = EverythingSet();
  EXPECT_EQ(RunPrinterOperation(link_, kOpWriteConfiguration, kInterfaceLpt, &config, kBlockD).code,
            kResultOk);
  EXPECT_EQ(script_->chunks.size(), 3U);
  EXPECT_EQ(recorder.shows, 1);
  EXPECT_EQ(recorder.closes, 1);
  EXPECT_EQ(RunPrinterOperation(link_, kOpWriteConfiguration, kInterfaceEthernet, {}, kBlockD).code,
            kResultUnknownError);
}

}  // namespace
}  // namespace vantrel
