#include "ops/load_file.h"

#include <thread>

#include "ops/command_writer.h"
#include "ops/printer_file_name.h"

namespace vantrel {

ResultCode LoadFile(LinkLayer& link, InterfaceKind interface, LoadRequest& request) {
  request.received.clear();
  if (!PrinterFileNameRefusal(request.printer_name, LoadRequest::kNameCapacity).empty()) {
    return kResultUnknownError;
  }
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  // The file is one long reply: a printer sending it byte by byte within each read wait would
  // otherwise hold the load for as long as it likes.
  link.SetReadBound(link.waits().load_total, "the file load's bound");
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
  // The file ends when the printer stops sending or closes its side; a printer that reset or
  // hung up, or was still sending when the load's bound passed, stopped part way, and what
  // arrived is not the file.
  if (request.received.size() < request.capacity && link.ReadsBrokenOff()) {
    return kResultReceivingError;
  }
  return kResultOk;
}

}  // namespace vantrel
