#include "common/host_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <utility>

#include "support/own_mounts.h"

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

  std::string Contents(const char* name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::size_t EntriesInFolder() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  fs::path folder_;
};

// Runs `save` where the test's folder is read-only; returns what `save` returns.
int InReadOnlyFolder(const fs::path& folder, const std::function<int()>& save) {
  return testing::InOwnMounts(
      [&] {
        return ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
               ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                       nullptr) == 0;
      },
      save);
}

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

TEST_F(HostFileTest, HeadReadTakesTheStartOfALongerFile) {
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadHostFileHead(Write("f.bin", "123456"), 4, bytes).ok());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "1234");
  ASSERT_TRUE(ReadHostFileHead(Write("g.bin", "12"), 4, bytes).ok());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "12");
  // A device is refused like any other file that is not regular, and read not at all.
  EXPECT_EQ(ReadHostFileHead("/dev/zero", 4, bytes).code, HostFileError::kOpen);
}

// Standard input from a pipe is read up to one byte past the limit, which it then names; a
// device is refused at once, as a named one is (an endless one would fill the limit first).
TEST_F(HostFileTest, StandardInputIsBounded) {
  const struct {
    const char* label;
    std::string sent;  // through a pipe; empty: /dev/zero
    HostFileError expected;
    std::string detail;
  } cases[] = {{"within", "abc", HostFileError::kNone, ""},
               {"at the limit", "abcd", HostFileError::kNone, ""},
               {"beyond", "abcdefgh", HostFileError::kTooLarge, "stopped after 5 bytes"},
               {"device", "", HostFileError::kOpen, "a device"}};
  const int saved_stdin = ::dup(STDIN_FILENO);
  for (const auto& c : cases) {
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    ASSERT_EQ(::write(pipe_fds[1], c.sent.data(), c.sent.size()),
              static_cast<ssize_t>(c.sent.size()));
    ::close(pipe_fds[1]);
    const int input = c.sent.empty() ? ::open("/dev/zero", O_RDONLY) : ::dup(pipe_fds[0]);
    ::dup2(input, STDIN_FILENO);
    ::close(input);
    ::close(pipe_fds[0]);
    std::vector<std::uint8_t> bytes;
    const HostFileResult result = ReadStandardInput(4, bytes);
    EXPECT_EQ(result.code, c.expected) << c.label;
    EXPECT_NE(result.detail.find(c.detail), std::string::npos) << c.label << ": " << result.detail;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), result.ok() ? c.sent : "") << c.label;
  }
  ::dup2(saved_stdin, STDIN_FILENO);
  ::close(saved_stdin);
}

TEST_F(HostFileTest, ShortTextFilesOfTheSystemAreReadWhole) {
  const std::optional<std::string> status = ReadShortTextFile("/proc/self/status");
  ASSERT_TRUE(status);
  EXPECT_NE(status->find("VmRSS:"), std::string::npos);
  EXPECT_EQ(ReadShortTextFile(Write("long", std::string(5000, 'x'))), std::nullopt);
  EXPECT_EQ(ReadShortTextFile(folder_), std::nullopt);
}

TEST_F(HostFileTest, SaveIntoAReadOnlyFolderKeepsTheOldFileAndLeavesNothing) {
  if (const std::string why = testing::OwnMountsRefused(); !why.empty()) {
    GTEST_SKIP() << "no read-only folder without a mount namespace: " << why;
  }
  const fs::path path = Write("kept.txt", "old");
  const std::uint8_t fresh[] = {'n', 'e', 'w'};
  const int status = InReadOnlyFolder(folder_, [&] {
    const HostFileResult result = ReplaceHostFile(path, fresh);
    return result.code == HostFileError::kOpen && result.os_error == EROFS ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Contents("kept.txt"), "old");
  EXPECT_EQ(EntriesInFolder(), 1U);
}

// A writer killed half-way, or destroyed without Commit, leaves the old file and nothing else.
TEST_F(HostFileTest, UnfinishedWriterLeavesTheOldFileAndNothingElse) {
  const fs::path path = Write("font.bmf", "old");
  const std::uint8_t piece[] = {1, 2, 3};
  {
    HostFileWriter writer(path);
    ASSERT_TRUE(writer.Write(piece));
  }
  const pid_t child = ::fork();
  if (child == 0) {
    HostFileWriter writer(path);
    writer.Write(piece);
    ::_exit(0);  // as a kill would end it: no destructor runs
  }
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(Contents("font.bmf"), "old");
  EXPECT_EQ(EntriesInFolder(), 1U);
}

// A FIFO (or a device) is no file to replace: it takes the finished bytes in place, at Commit,
// also through a symbolic link. A folder is refused before anything is written.
TEST_F(HostFileTest, WhatIsNoRegularFileIsWrittenInPlaceWhenComplete) {
  const fs::path fifo = folder_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, folder_ / "link");
  const std::uint8_t body[] = {'a', 'b', 'c', 'd'};
  const std::uint8_t patch[] = {'X'};
  for (const char* name : {"fifo", "link"}) {
    SCOPED_TRACE(name);
    const UniqueFd reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));
    HostFileWriter writer(folder_ / name);
    ASSERT_TRUE(writer.Write(body));
    ASSERT_TRUE(writer.WriteAt(2, patch));
    char got[8];
    EXPECT_LE(::read(reader.get(), got, sizeof(got)), 0) << "nothing before Commit";
    ASSERT_TRUE(writer.Commit().ok());
    ASSERT_EQ(::read(reader.get(), got, sizeof(got)), 4);
    EXPECT_EQ(std::string(got, 4), "abXd");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link")));
  }
  HostFileWriter into_folder(folder_);
  EXPECT_FALSE(into_folder.ok());
  EXPECT_EQ(into_folder.Commit().os_error, EISDIR);
  EXPECT_EQ(EntriesInFolder(), 2U);
}

// A save killed between naming its temporary and the rename leaves the temporary; the next save
// that replaces that target removes it, but not one of a process still saving nor one of
// another target.
TEST_F(HostFileTest, NextSaveRemovesStaleTemporariesOfItsTarget) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone);
  const std::string alive = std::to_string(::getpid());
  Write((".font.bmf.vantrel-tmp-" + dead + "-0").c_str(), "stale");
  Write((".font.bmf.vantrel-tmp-" + alive + "-9").c_str(), "in progress");
  Write((".other.bmf.vantrel-tmp-" + dead + "-0").c_str(), "another target's");
  Write("font.bmf", "old");
  const std::uint8_t fresh[] = {'n', 'e', 'w'};
  ASSERT_TRUE(ReplaceHostFile(folder_ / "font.bmf", fresh).ok());
  EXPECT_FALSE(fs::exists(folder_ / (".font.bmf.vantrel-tmp-" + dead + "-0")));
  EXPECT_TRUE(fs::exists(folder_ / (".font.bmf.vantrel-tmp-" + alive + "-9")));
  EXPECT_TRUE(fs::exists(folder_ / (".other.bmf.vantrel-tmp-" + dead + "-0")));
  EXPECT_EQ(Contents("font.bmf"), "new");
}

int FsyncFails(int) {
  errno = EIO;
  return -1;
}

int RenameFails(const char*, const char*) {
  errno = EXDEV;
  return -1;
}

// A disk that fails to flush the new file, or to put it in place, leaves the old file exactly
// as it was and no temporary beside it, and the failure says why.
TEST_F(HostFileTest, FailedFlushOrRenameKeepsTheOldFileAndLeavesNothing) {
  struct Case {
    const char* name;
    FileSystemCalls calls;
    int error;
  };
  const Case cases[] = {
      {"fsync", {.fsync = FsyncFails}, EIO},
      {"rename", {.rename = RenameFails}, EXDEV},
  };
  const fs::path path = Write("font.bmf", "old");
  const std::uint8_t fresh[] = {'n', 'e', 'w'};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      HostFileWriter writer(path, c.calls);
      ASSERT_TRUE(writer.Write(fresh));
      const HostFileResult result = writer.Commit();
      EXPECT_EQ(result.code, HostFileError::kWrite);
      EXPECT_EQ(result.os_error, c.error);
      EXPECT_NE(result.detail.find(std::strerror(c.error)), std::string::npos) << result.detail;
    }
    EXPECT_EQ(Contents("font.bmf"), "old");
    EXPECT_EQ(EntriesInFolder(), 1U);
  }
}

// A new file is linked under its name when complete: no rename, nothing beside it. Unflushed,
// it never appears.
TEST_F(HostFileTest, NewFileTakesItsNameWithoutARename) {
  const std::uint8_t fresh[] = {'n', 'e', 'w'};
  {
    HostFileWriter writer(folder_ / "flush.bmf", {.fsync = FsyncFails});
    ASSERT_TRUE(writer.Write(fresh));
    EXPECT_EQ(writer.Commit().os_error, EIO);
  }
  EXPECT_EQ(EntriesInFolder(), 0U);
  HostFileWriter writer(folder_ / "new.bmf", {.rename = RenameFails});
  ASSERT_TRUE(writer.Write(fresh));
  ASSERT_TRUE(writer.Commit().ok());
  EXPECT_EQ(Contents("new.bmf"), "new");
  EXPECT_EQ(EntriesInFolder(), 1U);
}

TEST_F(HostFileTest, WriterPatchesEarlierBytesAndReplacesOnCommit) {
  const fs::path path = Write("font.bmf", "old");
  HostFileWriter writer(path);
  const std::uint8_t body[] = {'a', 'b', 'c', 'd'};
  const std::uint8_t patch[] = {'X', 'Y'};
  ASSERT_TRUE(writer.Write(body));
  ASSERT_TRUE(writer.WriteAt(1, patch));
  EXPECT_EQ(Contents("font.bmf"), "old");
  ASSERT_TRUE(writer.Commit().ok());
  EXPECT_EQ(Contents("font.bmf"), "aXYd");
  EXPECT_EQ(EntriesInFolder(), 1U);
}

}  // namespace
}  // namespace vantrel
