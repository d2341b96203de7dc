#include "common/host_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

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
  EXPECT_EQ(result.error, HostFileError::kTooLarge);
  EXPECT_NE(result.cause.find("5 bytes"), std::string::npos) << result.cause;
  EXPECT_TRUE(bytes.empty());
}

TEST_F(HostFileTest, RefusesWhatIsNoRegularFile) {
  ::mkfifo((folder_ / "fifo").c_str(), 0600);
  for (const fs::path& path : {folder_ / "missing", folder_, folder_ / "fifo"}) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadHostFile(path, 100, bytes).error, HostFileError::kOpen) << path;
  }
}

}  // namespace
}  // namespace vantrel
