#include "common/host_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <utility>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class HostFileTest : public ::testing::Test {
 protected:
  HostFileTest()
      : folder_(fs::path(::testing::TempDir()) /
                ("host_file_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~HostFileTest() override { fs::remove_all(folder_); }

  fs::path Write(const char* name, std::string_view bytes) const {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path folder_;
};

TEST_F(HostFileTest, ReadsAWholeFileUpToItsLimit) {
  const std::string text = std::string(70000, 'x') + std::string(1, '\0') + "end";
  const fs::path path = Write("f.bin", text);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadHostFile(path, text.size(), bytes).ok());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);

  ASSERT_TRUE(ReadHostFile(Write("empty", ""), 0, bytes).ok());
  EXPECT_TRUE(bytes.empty());
}

TEST_F(HostFileTest, RefusesAFileBeyondTheLimitBeforeReading) {
  std::vector<std::uint8_t> bytes{1, 2, 3};
  const HostFileResult result = ReadHostFile(Write("f.bin", "12345"), 4, bytes);
  EXPECT_EQ(result.code, HostFileError::kTooLarge);
  EXPECT_EQ(result.os_error, 0);
  EXPECT_NE(result.detail.find("5 bytes"), std::string::npos) << result.detail;
  EXPECT_TRUE(bytes.empty());
}

TEST_F(HostFileTest, RefusesWhatIsNoRegularFile) {
  ::mkfifo((folder_ / "fifo").c_str(), 0600);
  const std::pair<fs::path, int> cases[] = {
      {folder_ / "missing", ENOENT}, {folder_, 0}, {folder_ / "fifo", 0}};
  for (const auto& [path, os_error] : cases) {
    std::vector<std::uint8_t> bytes;
    const HostFileResult result = ReadHostFile(path, 100, bytes);
    EXPECT_EQ(result.code, HostFileError::kOpen) << path;
    EXPECT_EQ(result.os_error, os_error) << path;
  }
}

}  // namespace
}  // namespace vantrel
