// Configuration documents as text: exported and imported again they give the same file, byte for
// byte; a hand edit converts as the window does; every fault is refused with its line.
#include "config/config_document_text.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

#include "config/config_item_text.h"
#include "config/config_items.h"

namespace vantrel {
namespace {

struct Resolution {
  float dpi;
  float dots_per_mm;
  std::uint8_t flag;
  std::int32_t edition;
};

// Printers that differ: the defaults of a record never read, every resolution printers report,
// and an older printer without the emulation pages.
const Resolution kResolutions[] = {{200, 11.8F, 0, 0}, {200, 8, 1, 100},  {203, 8, 1, 100},
                                   {300, 12, 1, 100},  {600, 24, 1, 100}, {1200, 47, 1, 100},
                                   {203, 8, 1, 20}};

std::vector<const ConfigItem*> AllItems() {
  std::vector<const ConfigItem*> items;
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) items.push_back(&item);
  }
  return items;
}

// The n-th printable Latin-1 character.
char Printable(std::size_t n) {
  const std::size_t ascii = 0x7F - 0x21;
  n %= ascii + 0x60;
  return static_cast<char>(n < ascii ? 0x21 + n : 0xA0 + (n - ascii));
}

// The k-th of a family of documents that between them take every choice of every item, lengths
// across the whole range, characters, unset items that keep a value and flags other than 1.
ConfigFileContents Document(int k, const Resolution& resolution) {
  ConfigFileContents contents;
  PrinterConfig& c = contents.config;
  ResetConfig(c);
  c.Dpi = {resolution.flag, resolution.dpi};
  c.DotsPerMm = resolution.dots_per_mm;
  c.Edition = resolution.edition;
  contents.unit = k % 3 == 2 ? 7 : k % 2;
  contents.status.flags = {static_cast<std::uint8_t>(k), 1, 0, 1, 0, 0, 0, 1, 0, 255};
  SetText(c.Version, "V1." + std::to_string(k) + " \"rev\" \\ \xE9");
  if (k % 5 == 0) c.Milage[15] = 'x';  // a byte after the NUL
  SetText(c.SerialNo, std::string(63, static_cast<char>('A' + k % 26)));
  const auto items = AllItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ConfigItem& item = *items[i];
    const std::size_t n = static_cast<std::size_t>(k) * 7 + i;
    const auto dots = static_cast<std::int32_t>((k * 7919 + i * 104729) % 199999) - 99999;
    std::visit(
        [&](auto member) {
          auto& field = c.*member;
          using Value = decltype(field.value);
          if constexpr (std::is_same_v<Value, char>) {
            field.Set(Printable(n));
          } else if constexpr (std::is_same_v<Value, float>) {
            const std::optional<float> mm = DotsToMm(dots, c.DotsPerMm);
            field.Set(k % 2 == 0 && mm ? *mm : static_cast<float>(k) * 1.37F + 0.1F);
          } else if (item.kind == ItemKind::kChoice) {
            field.Set(static_cast<std::int32_t>((k + i) % item.names.size()) + item.first);
          } else {
            field.Set(HeldInDots(item) ? dots : (k * 37 - 500) % 99999);
            if (!ItemValueRefusal(item, c).empty()) field.Set(k % 2);  // Density, Mirror
          }
          if (n % 7 == 0) field.flag = 0;  // unset, keeping its value
          if (n % 11 == 0) field.flag = static_cast<std::uint8_t>(2 + n);
        },
        item.field);
  }
  if (k % 4 == 0) c.ControlPrefixZ = {0, '\x01'};
  return contents;
}

TEST(ConfigDocumentTextTest, ExportAndImportGiveTheSameFileAtEveryResolutionAndUnit) {
  for (const Resolution& resolution : kResolutions) {
    for (int k = 0; k < 36; ++k) {
      const ConfigFileContents document = Document(k, resolution);
      for (const LengthUnit unit : {kUnitInch, kUnitMm}) {
        const ConfigTextExport exported = ExportConfigText(document, unit);
        ASSERT_EQ(exported.error, "");
        const ConfigTextImport imported = ImportConfigText(exported.text);
        ASSERT_TRUE(imported.contents) << imported.Message() << '\n' << exported.text;
        ASSERT_EQ(BuildConfigFileImage(*imported.contents), BuildConfigFileImage(document))
            << resolution.dpi << " dpi, document " << k << '\n'
            << exported.text;
      }
    }
  }
  ConfigFileContents fresh;
  ResetConfig(fresh.config);
  const ConfigTextImport imported = ImportConfigText(ExportConfigText(fresh, kUnitMm).text);
  ASSERT_TRUE(imported.contents);
  EXPECT_EQ(BuildConfigFileImage(*imported.contents), BuildConfigFileImage(fresh));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(ConfigDocumentTextTest, OneChangedItemChangesOnlyItsOwnLine) {
  const ConfigFileContents before = Document(3, kResolutions[2]);
  PrinterConfig defaults;
  ResetConfig(defaults);
  for (const ConfigItem* item : AllItems()) {
    ConfigFileContents after = before;
    std::visit([&](auto member) { after.config.*member = defaults.*member; }, item->field);
    const auto old_lines = Lines(ExportConfigText(before, kUnitInch).text);
    const auto new_lines = Lines(ExportConfigText(after, kUnitInch).text);
    ASSERT_EQ(old_lines.size(), new_lines.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < old_lines.size(); ++i) {
      if (old_lines[i] != new_lines[i]) changed.push_back(new_lines[i]);
    }
    ASSERT_EQ(changed.size(), 1U) << ItemKey(*item);
    EXPECT_NE(changed[0].find("\"" + ItemKey(*item) + "\": null"), std::string::npos) << changed[0];
  }
}

TEST(ConfigDocumentTextTest, KeysAreUniqueAscii) {
  std::set<std::string> keys;
  for (const ConfigItem* item : AllItems()) {
    const std::string key = ItemKey(*item);
    EXPECT_TRUE(keys.insert(key).second) << key;
    for (const char c : key) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '.');
    EXPECT_EQ(ItemWithKey(key), item);
  }
}

// A text of the items given, at `dpi` with its whole dots per millimetre.
std::string TextWith(const std::string& items, int dpi = 203) {
  return "{\n  \"resolution\": {\"dpi\": " + std::to_string(dpi) +
         "},\n  \"edition\": 100,\n  \"items\": {\n" + items + "\n  }\n}\n";
}

TEST(ConfigDocumentTextTest, HandEditedLengthsConvertAsTheWindowDoes) {
  struct Case {
    int dpi;
    std::string item;
    std::int32_t dots;
  };
  const Case cases[] = {
      {300, "\"Z.PrintWidth\": \"4.10in\"", 1230},  // not 1229 from a binary 4.1
      {203, "\"Z.PrintWidth\": \"4.00in\"", 812},
      {203, "\"Z.PrintWidth\": \"101.6mm\"", 812},  // 8 dots per mm, truncated
      {600, "\"Z.PrintWidth\": \"-0.5mm\"", -12},
      {203, "\"Z.PrintWidth\": \"812dots\"", 812},
  };
  for (const Case& c : cases) {
    const ConfigTextImport imported = ImportConfigText(TextWith(c.item, c.dpi));
    ASSERT_TRUE(imported.contents) << imported.Message();
    EXPECT_EQ(imported.contents->config.PrintWidthZ.value, c.dots) << c.item;
    EXPECT_EQ(imported.contents->config.PrintWidthZ.flag, 1);
  }
  const ConfigTextImport mm = ImportConfigText(
      TextWith("\"Common.PaperWidth\": \"4.00in\", \"Common.PaperHeight\": \"812dots\""));
  ASSERT_TRUE(mm.contents) << mm.Message();
  EXPECT_EQ(mm.contents->config.PaperWidth.value, 101.6F);
  EXPECT_EQ(mm.contents->config.PaperHeight.value, 101.5F);
  EXPECT_EQ(mm.contents->config.DotsPerMm, 8.0F);  // derived from the dpi
}

// A text is rewritten in the unit its lengths are written in, whatever the file's own unit.
TEST(ConfigDocumentTextTest, TheUnitIsThatOfTheFirstLengthInInchesOrMillimetres) {
  ConfigFileContents inch_file = Document(2, kResolutions[2]);
  inch_file.unit = kUnitInch;
  for (const LengthUnit unit : {kUnitInch, kUnitMm}) {
    EXPECT_EQ(ImportConfigText(ExportConfigText(inch_file, unit).text).unit, unit);
  }
  struct Case {
    std::string items;
    std::optional<LengthUnit> unit;
  };
  const Case cases[] = {
      {"\"Z.PrintWidth\": \"812dots\", \"Common.PaperWidth\": \"101.6mm\"", kUnitMm},
      {"\"Z.PrintWidth\": {\"value\": \"4.00in\", \"dots\": 812}", kUnitInch},
      {"\"Common.MediaSensor\": \"Gap\", \"Z.PrintWidth\": \"812dots\"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ImportConfigText(TextWith(c.items)).unit, c.unit);
}

TEST(ConfigDocumentTextTest, FaultsAreRefusedWithTheirLineAndReason) {
  const std::string good = ExportConfigText(Document(1, kResolutions[3]), kUnitInch).text;
  const std::string width = "\"Z.PrintWidth\": {\"value\": \"";
  struct Case {
    std::string find;
    std::string replace;
    std::string reason;
  };
  const Case cases[] = {
      {"\"Common.Speed\"", "\"Common.Sped\"", "unknown key \"items.Common.Sped\""},
      {"\"Common.Density\": ", "\"Common.Density\": 16, \"x\": ", "outside 0..15"},
      {"\"Common.MediaSensor\": \"", "\"Common.MediaSensor\": \"Paper", "is not one of Gap, Bline"},
      {width, width + "9", "does not agree with the exact length"},
      {"\"Common.ReferenceX\": \"", "\"Common.ReferenceX\": \"1in\", \"x\": \"",
       "whole number of dots"},
      {"\"Z.FormatPrefix\": \"", "\"Z.FormatPrefix\": \"ab", "one Latin-1 character"},
      {"\"milage\": \"", "\"milage\": \"12345678901234567", "at most 16"},
      {"\"resolution\": {", "\"resolution\": {\"dpi\": 300}, \"x\": {", "unknown key \"x\""},
      {"\"edition\"", "\"edition\": 1, \"edition\"", "\"edition\" is given twice"},
      {"\"status\": ", "\"status\": [1], \"y\": ", "a list is not expected"},
      {"\"fileUnit\": ", "\"fileUnit\" ", "malformed JSON: syntax error"},
      {"\"Z.Darkness\": ", "\"Z.Darkness\": {\"value\": 5, \"inch\": 2}, \"q\": ", "unknown key"},
      {"\"Common.Speed\": ", "\"Common.Speed\": {\"flag\": 1}, \"r\": ", "no value is given"},
  };
  for (const Case& c : cases) {
    std::string text = good;
    const std::size_t at = text.find(c.find);
    ASSERT_NE(at, std::string::npos) << c.find;
    text.replace(at, c.find.size(), c.replace);
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    const ConfigTextImport imported = ImportConfigText(text);
    EXPECT_FALSE(imported.contents) << c.replace;
    EXPECT_EQ(imported.line, line) << imported.Message();
    EXPECT_NE(imported.reason.find(c.reason), std::string::npos) << imported.Message();
  }
  const ConfigTextImport no_resolution = ImportConfigText("{\"edition\": 100}");
  EXPECT_FALSE(no_resolution.contents);
  EXPECT_EQ(no_resolution.Message(),
            "no resolution: the text needs \"resolution\": {\"dpi\": ...}");
  EXPECT_EQ(ImportConfigText("[]").reason, "a list is not expected here");
  EXPECT_EQ(ImportConfigText("").line, 1);
}

}  // namespace
}  // namespace vantrel
