#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/host_file.h"

namespace vantrel::cli {

// A text as a file name: each byte other than a letter, a digit, '.' or '-' becomes '_'.
std::string SafeFileName(std::string_view text);

// The configuration files in one folder, listed once for a run that looks up many printers'.
class SerialFileIndex {
 public:
  explicit SerialFileIndex(std::filesystem::path dir);

  // The files that may be the one of a printer reporting `serial`: named by it, alone or with
  // an address after it (FleetFileNames names them so). Which printer a file is of, its own
  // serial number says.
  std::vector<std::filesystem::path> Candidates(std::string_view serial) const;

 private:
  std::filesystem::path dir_;
  std::set<std::string, std::less<>> names_;  // without ".dcf"
};

// The files of one run in one folder, one a printer: named by the printer's serial number, by
// its address when it reports none, and by both when another printer of the run already took
// the name, so that no printer's file is written over by another's. Safe to use from the run's
// workers at once.
class FleetFileNames {
 public:
  // Makes the folder and says where it is, or why it could not.
  using FolderMaker = std::function<HostFileResult(std::filesystem::path& folder)>;

  explicit FleetFileNames(std::filesystem::path dir) : dir_(std::move(dir)) {}
  // The folder is made at the first claim, so that a run that saves nothing leaves none.
  explicit FleetFileNames(FolderMaker make_folder) : make_folder_(std::move(make_folder)) {}

  // The file for a printer, or the failure to make the folder.
  HostFileResult Claim(std::string_view serial, std::string_view target,
                       std::filesystem::path& file);

 private:
  std::filesystem::path dir_;
  FolderMaker make_folder_;
  HostFileResult folder_failure_;
  std::mutex mutex_;
  std::set<std::string, std::less<>> taken_;
};

}  // namespace vantrel::cli
