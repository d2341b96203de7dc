#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace vantrel::bench {

// A pseudo-terminal whose master side is drained by a thread, standing in for a serial printer
// that takes everything. The slave is raw, so bytes pass unchanged.
class PtyDrain {
 public:
  PtyDrain();
  ~PtyDrain();
  const std::string& slave_path() const { return slave_path_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vantrel::bench
