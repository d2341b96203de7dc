#include "link/libusb_failure.h"

#include <libusb.h>

#include <cerrno>

#include "link/usb_device_list.h"

namespace vantrel {
namespace {

std::string OpenFailureText(int code, const std::string& path) {
  if (code == LIBUSB_ERROR_ACCESS) {
    return "permission denied on the USB printer " + path + ": install the udev rule " +
           std::string(kUsbUdevRuleFile) + " and plug the printer in again";
  }
  if (code == LIBUSB_ERROR_NO_DEVICE) return "the USB printer " + path + " was unplugged";
  if (code == LIBUSB_ERROR_BUSY) return "the USB printer " + path + " is in use by another program";
  return "cannot open the USB printer " + path + ": " + LibusbText(code);
}

std::string TransferFailureText(int code) {
  if (code == LIBUSB_ERROR_NO_DEVICE) return "the USB printer was unplugged";
  if (code == LIBUSB_ERROR_PIPE) return "the USB printer stalled the transfer";
  return "USB transfer failed: " + LibusbText(code);
}

}  // namespace

int LibusbErrno(int code) {
  switch (code) {
    case LIBUSB_ERROR_IO:
      return EIO;
    case LIBUSB_ERROR_INVALID_PARAM:
      return EINVAL;
    case LIBUSB_ERROR_ACCESS:
      return EACCES;
    case LIBUSB_ERROR_NO_DEVICE:
      return ENODEV;
    case LIBUSB_ERROR_NOT_FOUND:
      return ENOENT;
    case LIBUSB_ERROR_BUSY:
      return EBUSY;
    case LIBUSB_ERROR_TIMEOUT:
      return ETIMEDOUT;
    case LIBUSB_ERROR_OVERFLOW:
      return EOVERFLOW;
    case LIBUSB_ERROR_PIPE:
      return EPIPE;
    case LIBUSB_ERROR_INTERRUPTED:
      return EINTR;
    case LIBUSB_ERROR_NO_MEM:
      return ENOMEM;
    case LIBUSB_ERROR_NOT_SUPPORTED:
      return ENOTSUP;
    default:
      return 0;
  }
}

std::string LibusbText(int code) {
  return libusb_strerror(code);
}

LinkFailure LibusbOpenFailure(int code, const std::string& path) {
  return {kResultPortOpenError, LibusbErrno(code), OpenFailureText(code, path)};
}

LinkFailure LibusbTransferFailure(ResultCode result, int code) {
  return {result, LibusbErrno(code), TransferFailureText(code)};
}

}  // namespace vantrel
