#include "link/link_cancel.h"

#include <sys/socket.h>

#include <cerrno>

namespace vantrel {

void LinkCancel::Cancel() {
  const std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (transport_ != nullptr) transport_->Interrupt();
  // A connecting socket shut down ends its wait with an error at once.
  if (connecting_fd_ >= 0) ::shutdown(connecting_fd_, SHUT_RDWR);
}

void LinkCancel::Attach(Transport* transport) {
  const std::lock_guard lock(mutex_);
  transport_ = transport;
}

void LinkCancel::AttachConnecting(int fd) {
  const std::lock_guard lock(mutex_);
  connecting_fd_ = fd;
}

LinkFailure CancelledFailure(ResultCode code) {
  return {code, ECANCELED, "the operation was cancelled"};
}

}  // namespace vantrel
