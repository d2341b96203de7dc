#include "config/config_item_edit.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/config_file_image.h"

namespace vantrel {
namespace {

PrinterConfig At203() {
  PrinterConfig config;
  ResetConfig(config);
  config.Dpi.Set(203);
  config.DotsPerMm = 8;
  return config;
}

TEST(ConfigItemEditTest, ValuesTakeTheirUnitsAndWords) {
  PrinterConfig config = At203();
  config.Speed.Set(4);
  const std::vector<std::string> edits = {
      "Common.PaperWidth=4.00in",
      "Common.PaperHeight=812dots",
      "Common.GapOffset=3.5mm",
      "Z.PrintWidth=101.6mm",
      "D.LabelWidth=2in",
      "Common.MediaSensor=Bline",
      "Z.PrintMode=CUTTER",
      "Z.ControlPrefix=\xC2\xA7",
      "Common.ReferenceX=-12",
      "Z.Darkness=30",
      "Common.Speed=",
  };
  ASSERT_EQ(ApplyConfigEdits(config, edits), "");
  EXPECT_EQ(config.PaperWidth.value, 101.6F);
  EXPECT_EQ(config.PaperHeight.value, 101.5F);
  EXPECT_EQ(config.GapOffset.value, 3.5F);
  EXPECT_EQ(config.PrintWidthZ.value, 812);
  EXPECT_EQ(config.LabelWidthD.value, 406);
  EXPECT_EQ(config.MediaSensor.value, 1);
  EXPECT_EQ(config.PrintModeZ.value, 3);
  EXPECT_EQ(config.ControlPrefixZ.value, '\xA7');
  EXPECT_EQ(config.ReferenceX.value, -12);
  EXPECT_EQ(config.DarknessZ.value, 30);
  EXPECT_TRUE(config.PrintModeZ.set());
  EXPECT_FALSE(config.Speed.set());
  EXPECT_EQ(config.Speed.value, 4.0F);  // an emptied field keeps its value
}

TEST(ConfigItemEditTest, RefusalsNameTheKeyAndLeaveTheDocumentAlone) {
  struct Case {
    std::string edit;
    std::string refusal;
  };
  const Case cases[] = {
      {"Z.Darkness=31", "Z.Darkness: must be from 0 to 30"},
      {"Common.GapSize=2in", "Common.GapSize: must be from 0 to 25.4 mm"},
      {"D.Heat=-1", "D.Heat: must be from 0 to 30"},
      {"Common.Density=16", "Common.Density: Density 16 is outside 0..15"},
      {"Common.DensityBase=3", "Common.DensityBase: the printer reports this value and takes none"},
      {"Common.Nope=1", "\"Common.Nope\": no item has this key"},
      {"Common.MediaSensor=Paper",
       "Common.MediaSensor: \"Paper\" is not one of Gap, Bline, Continuous"},
      {"Z.PrintWidth=4cm", "Z.PrintWidth: \"4cm\" is not a length in in, mm or dots"},
      {"Z.PrintWidth=4", "Z.PrintWidth: \"4\" is not a length in in, mm or dots"},
      {"Common.ReferenceX=1mm", "Common.ReferenceX: \"1mm\" is not a whole number of dots"},
      {"Z.ControlPrefix=\xC2\x85", "Z.ControlPrefix: a control character cannot be set"},
      {"Z.ControlPrefix=\t", "Z.ControlPrefix: ControlPrefixZ is a control character"},
      {"Z.ControlPrefix=ab", "Z.ControlPrefix: \"ab\" is not one Latin-1 character in quotes"},
      {"Common.Speed=fast", "Common.Speed: \"fast\" is not a number"},
      {"Common.Speed", "\"Common.Speed\": an edit reads KEY=VALUE"},
  };
  for (const Case& c : cases) {
    PrinterConfig config = At203();
    const std::vector<std::string> edits = {"Z.Darkness=5", c.edit};
    EXPECT_EQ(ApplyConfigEdits(config, edits), c.refusal);
    EXPECT_EQ(BuildConfigFileImage({kUnitInch, config, {}}),
              BuildConfigFileImage({kUnitInch, At203(), {}}))
        << c.edit;
  }
}

}  // namespace
}  // namespace vantrel
