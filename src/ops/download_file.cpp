#include "ops/download_file.h"

#include "common/host_file.h"
#include "ops/command_writer.h"
#include "ops/printer_file_name.h"
#include "ops/send_raw_block.h"

namespace vantrel {
namespace {

ResultCode DownloadBytes(LinkLayer& link, InterfaceKind interface, const DownloadRequest& request,
                         std::span<const std::uint8_t> bytes) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  CommandWriter writer(link);
  // No line end: the printer counts the data from the byte after the last comma.
  writer.Send("DOWNLOAD %s\"%s\",%d,", DevicePrefix(request.device).data(),
              request.printer_name.c_str(), static_cast<int>(bytes.size()));
  if (writer.result() != kResultOk) return writer.result();
  return SendWithPercentProgress(link, bytes);
}

}  // namespace

std::string DownloadRefusal(const DownloadRequest& request) {
  if (std::string refusal =
          PrinterFileNameRefusal(request.printer_name, DownloadRequest::kNameCapacity);
      !refusal.empty()) {
    return refusal;
  }
  if (!IsValidMemoryDevice(request.device)) return "Unknown memory device";
  return {};
}

ResultCode DownloadFile(LinkLayer& link, InterfaceKind interface, const DownloadRequest& request) {
  if (std::string refusal = DownloadRefusal(request); !refusal.empty()) {
    return link.RefuseOperation({kResultUnknownError, 0, std::move(refusal)});
  }
  std::vector<std::uint8_t> bytes;
  // A file too large to announce is refused by its size, before any byte is read.
  if (const HostFileResult read =
          ReadHostFile(request.source_path, DownloadRequest::kMaxFileBytes, bytes);
      !read.ok()) {
    return link.RefuseOperation({kResultFileOpenError, read.os_error, read.detail});
  }
  return DownloadBytes(link, interface, request, bytes);
}

}  // namespace vantrel
