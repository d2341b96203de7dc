#include "ops/load_file.h"

#include <thread>

#include "ops/command_writer.h"
#include "ops/printer_file_name.h"

namespace vantrel {

ResultCode LoadFile(LinkLayer& link, int interface, LoadRequest& request) {
  request.received.clear();
  if (!PrinterFileNameRefusal(request.printer_name, LoadRequest::kNameCapacity).empty()) {
    return kResultUnknownError;
  }
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  if (const ResultCode r = link.SendCommandText("\r\n"); r != kResultOk) return r;
  std::this_thread::sleep_for(request.settle_pause);
  CommandWriter writer(link);
  std::this_thread::sleep_for(request.command_pause);
  writer.Send("LOAD \"%s\"\r\n\r\n", request.printer_name.c_str());
  if (writer.result() != kResultOk) return writer.result();
  std::uint8_t byte = 0;
  while (request.received.size() < request.capacity && link.ReadReplyByte(byte)) {
    request.received.push_back(byte);
  }
  // The file ends when the printer stops sending; a printer that reset or hung up stopped
  // part way, and what arrived is not the file.
  if (request.received.size() < request.capacity && link.LinkLost()) return kResultReceivingError;
  return kResultOk;
}

}  // namespace vantrel
