#include "link/device_open_error.h"

#include <cerrno>
#include <cstring>

namespace vantrel {
namespace {

std::string OpenFailureText(const std::string& device, int error, std::string_view access_hint) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "permission denied on " + device + ": " + std::string(access_hint);
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return device + " does not exist or has no device behind it";
    case EBUSY:
      return device + " is in use by another program";
    default:
      return "cannot open " + device + ": " + std::strerror(error);
  }
}

}  // namespace

LinkFailure DeviceOpenFailure(const std::string& device, int error, std::string_view access_hint) {
  return {kResultPortOpenError, error, OpenFailureText(device, error, access_hint)};
}

}  // namespace vantrel
