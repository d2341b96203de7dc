#include "link/link_cancel.h"

#include <cerrno>

namespace vantrel {

void LinkCancel::Cancel() {
  const std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (transport_ != nullptr) transport_->Interrupt();
}

void LinkCancel::Attach(Transport* transport) {
  const std::lock_guard lock(mutex_);
  transport_ = transport;
}

LinkFailure CancelledFailure(ResultCode code) {
  return {code, ECANCELED, "the operation was cancelled"};
}

}  // namespace vantrel
