#include "ops/dump_text.h"

namespace vantrel {

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

ResultCode DumpText(LinkLayer& link, int interface, const DumpRequest& request) {
  return SendInOneWrite(link, interface, DumpCommandText(request));
}

}  // namespace vantrel
