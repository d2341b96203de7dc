#pragma once

#include <string>
#include <string_view>

#include "common/failure.h"

namespace vantrel {

// The failure (code 1) for a device node that open() refused with `error` (an errno value).
// `access_hint` tells the user how to get access, e.g. "add the user to the dialout group".
LinkFailure DeviceOpenFailure(const std::string& device, int error, std::string_view access_hint);

}  // namespace vantrel
