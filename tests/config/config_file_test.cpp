#include "config/config_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>

#include "support/file_size_limit.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ConfigFileContents Sample() {
  ConfigFileContents contents;
  ResetConfig(contents.config);
  contents.unit = kUnitMm;
  contents.config.Dpi.Set(203.0F);
  contents.config.DotsPerMm = 8.0F;
  contents.config.PaperWidth.Set(101.6F);
  contents.config.HeadCloseZ.Set(3);
  SetText(contents.config.SerialNo, "SN-0001");
  contents.status.flags[4] = 1;
  return contents;
}

std::string ImageBytes(const ConfigFileContents& contents) {
  const ConfigFileImage image = BuildConfigFileImage(contents);
  return {image.begin(), image.end()};
}

class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest()
      : folder_(fs::path(::testing::TempDir()) /
                ("config_file_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~ConfigFileTest() override { fs::remove_all(folder_); }

  std::size_t EntriesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
};

TEST_F(ConfigFileTest, SavedFileIsTheImageAndLoadsBackUnchanged) {
  const fs::path path = folder_ / "printer.dcf";
  const ConfigFileContents saved = Sample();
  ASSERT_TRUE(SaveConfigFile(path, saved).ok());
  EXPECT_EQ(ReadBytes(path), ImageBytes(saved));
  EXPECT_EQ(EntriesInFolder(), 1U);  // no temporary file left behind

  ConfigFileContents loaded;
  const ConfigFileResult result = LoadConfigFile(path, loaded);
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_EQ(ImageBytes(loaded), ImageBytes(saved));
  EXPECT_EQ(loaded.unit, kUnitMm);
  EXPECT_EQ(loaded.config.PaperWidth.value, 101.6F);
  EXPECT_EQ(loaded.status.flags[4], 1);
}

TEST_F(ConfigFileTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
  const fs::path path = folder_ / "printer.dcf";
  WriteBytes(path, "old contents");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(SaveConfigFile(path, Sample()).ok());
  EXPECT_EQ(ReadBytes(path), ImageBytes(Sample()));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ConfigFileTest, SaveThroughALinkWritesTheFileItPointsTo) {
  const fs::path real = folder_ / "shop.dcf";
  const fs::path link = folder_ / "current.dcf";
  WriteBytes(real, "old contents");
  fs::create_symlink(real.filename(), link);
  ASSERT_TRUE(SaveConfigFile(link, Sample()).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), ImageBytes(Sample()));
  EXPECT_EQ(EntriesInFolder(), 2U);
}

struct BadFile {
  const char* what;
  ConfigFileStatus status;
  int os_error;  // the system's error number, 0 for a file that opens but is refused
  std::function<fs::path(const fs::path& folder)> make;
};

void PrintTo(const BadFile& c, std::ostream* os) {
  *os << c.what;
}

class BadFileTest : public ConfigFileTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, IsRefusedWithItsMessageAndChangesNothing) {
  ConfigFileContents contents = Sample();
  const std::string before = ImageBytes(contents);
  const ConfigFileResult result = LoadConfigFile(GetParam().make(folder_), contents);
  EXPECT_EQ(result.code, GetParam().status);
  EXPECT_EQ(result.os_error, GetParam().os_error);
  EXPECT_FALSE(result.detail.empty());
  EXPECT_EQ(ImageBytes(contents), before);
}

std::string ValidImage() {
  return ImageBytes(Sample());
}

INSTANTIATE_TEST_SUITE_P(
    Load, BadFileTest,
    ::testing::Values(BadFile{"missing", ConfigFileStatus::kOpenError, ENOENT,
                              [](const fs::path& d) { return d / "missing.dcf"; }},
                      BadFile{"directory", ConfigFileStatus::kOpenError, 0,
                              [](const fs::path& d) { return d; }},
                      BadFile{"fifo", ConfigFileStatus::kOpenError, 0,
                              [](const fs::path& d) {
                                const fs::path path = d / "fifo.dcf";
                                ::mkfifo(path.c_str(), 0600);
                                return path;
                              }},
                      // Opens, but every read fails.
                      BadFile{"unreadable", ConfigFileStatus::kOpenError, EIO,
                              [](const fs::path&) { return fs::path("/proc/self/mem"); }},
                      BadFile{"empty", ConfigFileStatus::kDataError, 0,
                              [](const fs::path& d) {
                                WriteBytes(d / "empty.dcf", "");
                                return d / "empty.dcf";
                              }},
                      BadFile{"text", ConfigFileStatus::kDataError, 0,
                              [](const fs::path& d) {
                                WriteBytes(d / "notes.dcf", std::string(700, 't'));
                                return d / "notes.dcf";
                              }},
                      BadFile{"one byte short", ConfigFileStatus::kDataError, 0,
                              [](const fs::path& d) {
                                WriteBytes(d / "short.dcf", ValidImage().substr(0, 637));
                                return d / "short.dcf";
                              }},
                      BadFile{"NaN paper width", ConfigFileStatus::kDataError, 0,
                              [](const fs::path& d) {
                                ConfigFileContents nan = Sample();
                                nan.config.PaperWidth.Set(std::nanf(""));
                                WriteBytes(d / "nan.dcf", ImageBytes(nan));
                                return d / "nan.dcf";
                              }},
                      BadFile{"magic only", ConfigFileStatus::kDataError, 0, [](const fs::path& d) {
                                WriteBytes(d / "magic.dcf", std::string("\xAA\x55\x00\x00", 4));
                                return d / "magic.dcf";
                              }}));

TEST(ConfigFileMessageTest, MessagesAreTheFixedEnglishTexts) {
  EXPECT_EQ(ConfigFileMessage(ConfigFileStatus::kOk), "");
  EXPECT_EQ(ConfigFileMessage(ConfigFileStatus::kOpenError), "File Open Error");
  EXPECT_EQ(ConfigFileMessage(ConfigFileStatus::kDataError), "File Data Error");
  EXPECT_EQ(ConfigFileMessage(ConfigFileStatus::kWriteError), "File Write Error");
}

TEST_F(ConfigFileTest, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  const ConfigFileResult result = SaveConfigFile(folder_ / "no" / "such.dcf", Sample());
  EXPECT_EQ(result.code, ConfigFileStatus::kOpenError);
  EXPECT_EQ(result.os_error, ENOENT);
  EXPECT_EQ(EntriesInFolder(), 0U);
}

TEST_F(ConfigFileTest, SaveOverAFolderFailsAndLeavesNoTemporaryFile) {
  fs::create_directory(folder_ / "taken.dcf");
  const ConfigFileResult result = SaveConfigFile(folder_ / "taken.dcf", Sample());
  EXPECT_EQ(result.code, ConfigFileStatus::kOpenError);
  EXPECT_EQ(result.os_error, EISDIR);
  EXPECT_TRUE(fs::is_directory(folder_ / "taken.dcf"));
  EXPECT_EQ(EntriesInFolder(), 1U);
}

// A FIFO (like a device node) is written into, never replaced by a regular file.
TEST_F(ConfigFileTest, SaveOntoAFifoWritesIntoIt) {
  const fs::path fifo = folder_ / "out.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(SaveConfigFile(fifo, Sample()).ok());
  std::string got(kConfigFileSize + 1, '\0');
  const ssize_t n = ::read(reader, got.data(), got.size());
  ::close(reader);
  ASSERT_EQ(n, static_cast<ssize_t>(kConfigFileSize));
  got.resize(kConfigFileSize);
  EXPECT_EQ(got, ImageBytes(Sample()));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(EntriesInFolder(), 1U);
}

// A write that the system refuses half-way (here: a file size limit, which binds root too)
// must leave the previous file exactly as it was.
TEST_F(ConfigFileTest, FailedWriteKeepsThePreviousFileIntact) {
  const fs::path path = folder_ / "printer.dcf";
  WriteBytes(path, "the previous file");
  const ConfigFileResult result = [&] {
    const testing::FileSizeLimit limit(100);
    return SaveConfigFile(path, Sample());
  }();

  EXPECT_EQ(result.code, ConfigFileStatus::kWriteError);
  EXPECT_EQ(result.os_error, EFBIG);
  EXPECT_EQ(ReadBytes(path), "the previous file");
  EXPECT_EQ(EntriesInFolder(), 1U);
}

}  // namespace
}  // namespace vantrel
