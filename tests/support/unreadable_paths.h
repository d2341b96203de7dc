#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::testing {

struct UnreadablePath {
  const char* label;
  std::string path;
};

// What a file chooser or a command line can name that is no file to read: a folder, a FIFO
// (an open for reading waits for a writer), an endless device and a missing file. The FIFO is
// made in `folder`, which must exist.
inline std::vector<UnreadablePath> UnreadablePaths(const std::filesystem::path& folder) {
  const std::filesystem::path fifo = folder / "fifo";
  ::mkfifo(fifo.c_str(), 0600);
  return {{"folder", folder.string()},
          {"fifo", fifo.string()},
          {"device", "/dev/zero"},
          {"missing", (folder / "missing").string()}};
}

}  // namespace vantrel::testing
