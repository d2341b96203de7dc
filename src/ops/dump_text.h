#pragma once

#include <cstdint>
#include <string>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/command_text.h"

namespace vantrel {

enum DumpMode : std::int32_t { kDumpPrint = 0, kDumpToCard = 1, kDumpToFile = 2 };

// The name the printer saves a dump under in "Save to File" mode, for the load that follows.
inline constexpr std::string_view kDumpFileName = "Dump.txt";

// What the text dump dialog asks operation 4 to do.
struct DumpRequest {
  std::int32_t Mode = kDumpPrint;
  std::string FileName{kDumpFileName};  // used by kDumpToCard only
  std::uint8_t Confirmed = 0;           // 1 when the dialog was left with "Set"
};

// The DUMP_TEXT command of the request's mode. It has no line end: the printer takes the
// trailing comma as its end.
CommandText DumpCommandText(const DumpRequest& request);

// Operation 4: the command in one write, nothing read back.
ResultCode DumpText(LinkLayer& link, int interface, const DumpRequest& request);

}  // namespace vantrel
