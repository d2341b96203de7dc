#include "fonts/encode_table.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

TEST(StripControlBytesTest, KeepsPrintableAndHighBytesUpToTheFirstNul) {
  Bytes text = Of("A\tB\r\n C\xA4\x40\x01");
  text.push_back(0);
  text.push_back('Z');
  EXPECT_EQ(StripControlBytes(text), 6U);
  EXPECT_EQ(Bytes(text.begin(), text.begin() + 7), Of(std::string_view("AB C\xA4\x40\0", 7)));
  // Without room for a NUL the kept bytes still move down.
  Bytes full = Of("\nxy");
  EXPECT_EQ(StripControlBytes(full), 2U);
  EXPECT_EQ(full[0], 'x');
  Bytes empty;
  EXPECT_EQ(StripControlBytes(empty), 0U);
}

TEST(ReadEncodeTableTest, MemoLinesBecomeOneTable) {
  EXPECT_EQ(ReadEncodeTable({.memo_bytes = "AB\r\nCD"}), Of("ABCD"));
  EXPECT_TRUE(ReadEncodeTable({.memo_bytes = "\r\n\t"}).empty());
  EXPECT_TRUE(ReadEncodeTable({.memo_bytes = std::string(65536, 'A')}).empty());
  EXPECT_EQ(ReadEncodeTable({.memo_bytes = std::string(65535, 'A')}).size(), 65535U);
}

TEST(ReadEncodeTableTest, ByFileReadsTheFileAgainEveryTime) {
  const std::string path = ::testing::TempDir() + "/table.txt";
  std::ofstream(path, std::ios::binary) << "AB";
  const EncodeTableSource source{.by_file = true, .file_path = path, .memo_bytes = "XY"};
  EXPECT_EQ(ReadEncodeTable(source), Of("AB"));
  std::ofstream(path, std::ios::binary) << "C\nD";
  EXPECT_EQ(ReadEncodeTable(source), Of("CD"));
  std::ofstream(path, std::ios::binary) << std::string("E\0F", 3);
  EXPECT_EQ(ReadEncodeTable(source), Of("E"));
  std::ofstream(path, std::ios::binary) << std::string(65536, 'A');
  EXPECT_TRUE(ReadEncodeTable(source).empty());
  EXPECT_TRUE(ReadEncodeTable({.by_file = true, .file_path = path + ".none"}).empty());
}

}  // namespace
}  // namespace vantrel
