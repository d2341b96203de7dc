#include "ops/download_file.h"

#include <filesystem>

#include "ops/command_writer.h"
#include "ops/host_file.h"
#include "ops/printer_file_name.h"
#include "ops/send_raw_block.h"

namespace vantrel {
namespace {

ResultCode DownloadBytes(LinkLayer& link, int interface, const DownloadRequest& request,
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
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(request.source_path, error);
  // A file that cannot be sized is left to the read, which reports why it cannot be opened.
  if (!error && size > DownloadRequest::kMaxFileBytes) {
    return request.source_path + " is " + std::to_string(size) +
           " bytes long; a download can announce at most " +
           std::to_string(DownloadRequest::kMaxFileBytes);
  }
  return {};
}

ResultCode DownloadFile(LinkLayer& link, int interface, const DownloadRequest& request) {
  if (!DownloadRefusal(request).empty()) return kResultUnknownError;
  const HostFile file = ReadHostFile(request.source_path, DownloadRequest::kMaxFileBytes);
  if (!file.ok()) return kResultFileOpenError;
  return DownloadBytes(link, interface, request, file.bytes);
}

}  // namespace vantrel
