#pragma once

#include <atomic>
#include <mutex>

#include "common/failure.h"
#include "common/result_code.h"
#include "link/transport.h"

namespace vantrel {

// Lets another thread end the operation that runs on the link's thread. The link looks at the
// flag before every chunk and refill; a transport blocked in a long wait is woken through
// Transport::Interrupt, and a connection attempt by shutting its socket down, under the same
// lock that guards which transport or socket is live.
class LinkCancel {
 public:
  // Clears the flag. Call before an operation starts, never while one runs.
  void Reset() { cancelled_ = false; }
  // Any thread.
  void Cancel();
  bool cancelled() const { return cancelled_; }
  // The link's thread names the open transport, and null before it destroys it.
  void Attach(Transport* transport);
  // A connection attempt names its socket, and -1 before it closes it.
  void AttachConnecting(int fd);

 private:
  std::mutex mutex_;
  std::atomic<bool> cancelled_ = false;
  Transport* transport_ = nullptr;
  int connecting_fd_ = -1;
};

// The failure of a step that a cancel ended.
LinkFailure CancelledFailure(ResultCode code);

}  // namespace vantrel
