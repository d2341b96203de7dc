#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace vantrel::sim {

// The most recent commands, oldest first. Bounded in count and in bytes so a
// long transfer of text data cannot exhaust memory; the oldest go first.
class SimCommandHistory {
 public:
  static constexpr std::size_t kMaxCommands = 65536;
  static constexpr std::size_t kMaxBytes = std::size_t{16} * 1024 * 1024;

  void Add(std::string command);
  std::vector<std::string> Snapshot() const;

 private:
  std::deque<std::string> commands_;
  std::size_t bytes_ = 0;
};

}  // namespace vantrel::sim
