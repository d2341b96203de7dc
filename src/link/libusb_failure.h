#pragma once

#include <string>

#include "common/failure.h"

namespace vantrel {

// The system error a libusb error code stands for; 0 where it stands for none.
int LibusbErrno(int code);

// libusb's own words for one of its error codes.
std::string LibusbText(int code);

// The failure (code 1) of opening or claiming the printer at `path`; the libusb error code is
// kept as the system error it stands for.
LinkFailure LibusbOpenFailure(int code, const std::string& path);

// The failure of a bulk transfer, with the given result code (2 for a write, 3 for a read).
LinkFailure LibusbTransferFailure(ResultCode result, int code);

}  // namespace vantrel
