#include "ops/dump_text.h"

#include "ops/printer_file_name.h"

namespace vantrel {

std::string DumpRefusal(const DumpRequest& request) {
  if (request.Mode != kDumpToCard) return {};
  return PrinterFileNameRefusal(request.FileName, DumpRequest::kFileNameLength);
}

CommandText DumpCommandText(const DumpRequest& request) {
  CommandText text;
  if (request.Mode == kDumpPrint) {
    text.Append("DUMP_TEXT PRINT,");
  } else if (request.Mode == kDumpToCard) {
    text.Append("DUMP_TEXT SAVE 1000,E,\"%s\",", request.FileName.c_str());
  } else {
    text.Append("DUMP_TEXT SAVE 1000,\"%.*s\",", static_cast<int>(kDumpFileName.size()),
                kDumpFileName.data());
  }
  return text;
}

ResultCode DumpText(LinkLayer& link, InterfaceKind interface, const DumpRequest& request) {
  if (!DumpRefusal(request).empty()) return kResultUnknownError;
  return SendInOneWrite(link, interface, DumpCommandText(request));
}

LoadRequest DumpFileLoadRequest() {
  LoadRequest load;
  load.printer_name = kDumpFileName;
  load.capacity = kDumpFileLimit + 1;
  return load;
}

bool CutToDumpLimit(std::vector<std::uint8_t>& bytes) {
  if (bytes.size() <= kDumpFileLimit) return false;
  bytes.resize(kDumpFileLimit);
  return true;
}

}  // namespace vantrel
