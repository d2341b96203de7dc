// Where a fleet run's configuration files go: named by serial number, never one over another,
// and a folder of the run's own for backups.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/fleet/backup_folder.h"
#include "cli/fleet/fleet_file_names.h"

namespace vantrel::cli {
namespace {

TEST(FleetFileNamesTest, SerialNumberFirstAddressWhenNoneOrTaken) {
  FleetFileNames names("dir");
  const struct {
    std::string serial;
    std::string target;
    std::string file;
  } rows[] = {
      {"SN-1", "10.0.0.1:9100", "dir/SN-1.dcf"},
      {"", "10.0.0.2:9100", "dir/10.0.0.2_9100.dcf"},
      {"SN-1", "10.0.0.3:9100", "dir/SN-1_10.0.0.3_9100.dcf"},
      {"../x y", "[::1]:9100", "dir/.._x_y.dcf"},
      // Another serial number that comes to the same file name is another printer.
      {"../x/y", "[::1]:9101", "dir/.._x_y____1__9101.dcf"},
  };
  for (const auto& row : rows) {
    std::filesystem::path file;
    EXPECT_TRUE(names.Claim(row.serial, row.target, file).ok());
    EXPECT_EQ(file.string(), row.file) << row.serial;
  }
}

// The files that may be a printer's are those named for its serial number, alone or with an
// address after it; one whose name merely begins the same, or is no .dcf, is not.
TEST(FleetFileNamesTest, IndexListsTheFilesNamedForASerialNumber) {
  const std::filesystem::path dir =
      ::testing::TempDir() + "/serial_index_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  for (const char* name : {"SN-1.dcf", "SN-1_10.0.0.3_9100.dcf", "SN-10.dcf", "SN-1.txt",
                           ".._x_y.dcf", ".._x_y____1__9101.dcf"}) {
    std::ofstream(dir / name) << "x";
  }
  const SerialFileIndex index(dir);
  const auto names = [&](std::string_view serial) {
    std::vector<std::string> found;
    for (const auto& file : index.Candidates(serial)) found.push_back(file.filename().string());
    return found;
  };
  EXPECT_EQ(names("SN-1"), (std::vector<std::string>{"SN-1.dcf", "SN-1_10.0.0.3_9100.dcf"}));
  EXPECT_EQ(names("SN-10"), std::vector<std::string>{"SN-10.dcf"});
  EXPECT_EQ(names("../x/y"), (std::vector<std::string>{".._x_y.dcf", ".._x_y____1__9101.dcf"}));
  EXPECT_TRUE(names("SN-2").empty());
  EXPECT_TRUE(SerialFileIndex(dir / "none").Candidates("SN-1").empty());
  std::filesystem::remove_all(dir);
}

// The backups' folder is made once, by the first printer that is written; a folder that cannot
// be made fails each printer.
TEST(FleetFileNamesTest, TheFolderIsMadeAtTheFirstClaim) {
  int made = 0;
  FleetFileNames names([&made](std::filesystem::path& folder) {
    folder = "run-" + std::to_string(++made);
    return HostFileResult{};
  });
  EXPECT_EQ(made, 0);
  std::filesystem::path file;
  for (const char* serial : {"A", "B"}) EXPECT_TRUE(names.Claim(serial, "h:1", file).ok());
  EXPECT_EQ(file.string(), "run-1/B.dcf");
  EXPECT_EQ(made, 1);
  FleetFileNames unmade([](std::filesystem::path&) {
    return HostFileResult{HostFileError::kOpen, 0, "cannot make folder x"};
  });
  for (int i = 0; i < 2; ++i) EXPECT_EQ(unmade.Claim("A", "h:1", file).code, HostFileError::kOpen);
}

TEST(BackupFolderTest, EachRunGetsAStampedFolderOfItsOwn) {
  const std::string root = ::testing::TempDir() + "/backup_" + std::to_string(::getpid());
  const auto now = std::chrono::sys_days{std::chrono::December / 8 / 2026} + std::chrono::hours(6) +
                   std::chrono::minutes(15);
  ::setenv("HOME", (root + "/home").c_str(), 1);
  const struct {
    const char* state;
    std::string folder;
  } rows[] = {
      {nullptr, root + "/home/.local/state/vantrel/backups/2026-12-08T061500Z"},
      {"relative", root + "/home/.local/state/vantrel/backups/2026-12-08T061500Z-2"},
      {"", root + "/home/.local/state/vantrel/backups/2026-12-08T061500Z-3"},
  };
  for (const auto& row : rows) {
    if (row.state == nullptr) {
      ::unsetenv("XDG_STATE_HOME");
    } else {
      ::setenv("XDG_STATE_HOME", row.state, 1);
    }
    std::filesystem::path folder;
    EXPECT_TRUE(MakeBackupFolder("", now, folder).ok());
    EXPECT_EQ(folder.string(), row.folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
  }
  ::setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
  std::filesystem::path folder;
  EXPECT_TRUE(MakeBackupFolder("", now, folder).ok());
  EXPECT_EQ(folder.string(), root + "/state/vantrel/backups/2026-12-08T061500Z");
  EXPECT_TRUE(MakeBackupFolder(root + "/given/deep", now, folder).ok());
  EXPECT_EQ(folder.string(), root + "/given/deep");
  // A file where the folder should be.
  std::ofstream(root + "/file") << "x";
  EXPECT_EQ(MakeBackupFolder(root + "/file", now, folder).code, HostFileError::kOpen);
}

}  // namespace
}  // namespace vantrel::cli
