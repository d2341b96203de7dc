#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace vantrel {

// A file written beside its target and put in place only when complete, so that a failed run
// leaves an existing file of that name as it was. Not committed: the partial file is removed.
class FontFileOutput {
 public:
  explicit FontFileOutput(const std::string& path);
  ~FontFileOutput();
  FontFileOutput(const FontFileOutput&) = delete;
  FontFileOutput& operator=(const FontFileOutput&) = delete;

  bool is_open() const { return file_ != nullptr; }
  bool Write(std::span<const std::uint8_t> bytes);
  // Overwrites bytes already written, at `offset` from the start of the file.
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // Closes the file and renames it onto the target; false leaves the target untouched.
  bool Commit();

 private:
  void Discard();

  std::string target_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
};

}  // namespace vantrel
