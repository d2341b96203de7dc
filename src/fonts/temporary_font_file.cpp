#include "fonts/temporary_font_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace vantrel {

TemporaryFontFile::TemporaryFontFile() {
  std::error_code error;
  const std::string base = std::filesystem::temp_directory_path(error).string();
  if (error) {
    failure_ = "no temporary folder to make the font in: " + error.message();
    return;
  }
  std::string pattern = base + "/vantrel-font-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    failure_ = "cannot make a folder in " + base + ": " + std::generic_category().message(errno);
    return;
  }
  folder_ = name.data();
  path_ = folder_ + "/Temp.BMF";
}

TemporaryFontFile::~TemporaryFontFile() {
  if (folder_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(folder_, error);
}

}  // namespace vantrel
