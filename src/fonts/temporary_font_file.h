#pragma once

#include <string>

namespace vantrel {

// A font file made only to be downloaded: it lives in a private folder of the user's temporary
// folder (never the current folder, where it could replace a file of the user's), and the
// folder goes when this object does.
class TemporaryFontFile {
 public:
  TemporaryFontFile();
  ~TemporaryFontFile();
  TemporaryFontFile(const TemporaryFontFile&) = delete;
  TemporaryFontFile& operator=(const TemporaryFontFile&) = delete;

  // Empty when no folder could be made; `failure` then says why.
  const std::string& path() const { return path_; }
  const std::string& failure() const { return failure_; }

 private:
  std::string folder_;
  std::string path_;
  std::string failure_;
};

}  // namespace vantrel
