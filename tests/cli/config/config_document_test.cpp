// A configuration document given by path: either form, told apart by its content, and the unit
// a rewrite keeps.
#include "cli/config/config_document.h"

#include <gtest/gtest.h>

#include <fstream>

#include "config/config_document_text.h"
#include "support/cli_runner.h"

namespace vantrel::cli {
namespace {

using testing::TestFile;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::string Write(const std::string& name, std::string_view bytes) {
  const std::string path = TestFile(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// An inch file of a 300-dpi printer with a few items set.
ConfigFileContents Contents() {
  ConfigFileContents contents;
  ResetConfig(contents.config);
  contents.config.Dpi.Set(300);
  contents.config.DotsPerMm = 12;
  contents.config.PaperWidth.Set(101.6F);
  contents.config.PrintWidthZ.Set(1200);
  contents.config.Speed.Set(4);
  return contents;
}

TEST(ConfigDocumentTest, TheTextFormStartsWithABraceAfterBlanksAndAByteOrderMark) {
  const ConfigFileImage file = BuildConfigFileImage(Contents());
  EXPECT_FALSE(IsConfigText(file));
  const struct {
    std::string_view start;
    bool text;
  } rows[] = {{"{", true}, {" \r\n\t{", true}, {"\xEF\xBB\xBF{", true}, {"\xEF\xBB\xBF\n {", true},
              {"", false}, {" \n", false},     {"[{", false},           {"\xEF\xBB{", false}};
  for (const auto& row : rows) EXPECT_EQ(IsConfigText(Bytes(row.start)), row.text) << row.start;
}

TEST(ConfigDocumentTest, BothFormsReadAsTheSameDocument) {
  const ConfigFileContents contents = Contents();
  const std::string file = TestFile("document.dcf");
  ASSERT_TRUE(SaveConfigFile(file, contents).ok());
  const std::string text =
      Write("document_mm.txt", "\xEF\xBB\xBF" + ExportConfigText(contents, kUnitMm).text);
  ConfigDocument from_file;
  ConfigDocument from_text;
  ASSERT_TRUE(ReadConfigDocument(file, from_file).ok());
  const ConfigFileResult read = ReadConfigDocument(text, from_text);
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(from_file.form, DocumentForm::kFile);
  EXPECT_EQ(from_file.unit, kUnitInch);
  EXPECT_EQ(from_text.form, DocumentForm::kText);
  EXPECT_EQ(from_text.unit, kUnitMm);  // the text's, not the file's inches
  EXPECT_EQ(BuildConfigFileImage(from_text.contents), BuildConfigFileImage(from_file.contents));

  ConfigFileContents mm_file = contents;
  mm_file.unit = kUnitMm;
  ASSERT_TRUE(SaveConfigFile(file, mm_file).ok());
  ASSERT_TRUE(ReadConfigDocument(file, from_file).ok());
  EXPECT_EQ(from_file.unit, kUnitMm);
}

// A fault's line is the import command's to show; here, what comes before the text is read.
TEST(ConfigDocumentTest, ATextTooLongOrAMissingFileIsRefused) {
  ConfigDocument document;
  const std::string long_text = Write("long.txt", "{" + std::string(kConfigTextLimit, ' '));
  EXPECT_EQ(ReadConfigDocument(long_text, document).code, ConfigFileStatus::kDataError);
  EXPECT_EQ(ReadConfigDocument(TestFile("absent.txt"), document).code,
            ConfigFileStatus::kOpenError);
}

}  // namespace
}  // namespace vantrel::cli
