#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/bounded_text.h"
#include "ops/load_file.h"

namespace vantrel {

enum DumpMode : std::int32_t { kDumpPrint = 0, kDumpToCard = 1, kDumpToFile = 2 };

// The name the printer saves a dump under in "Save to File" mode, for the load that follows.
inline constexpr std::string_view kDumpFileName = "Dump.txt";
// At most this much of that file is kept.
inline constexpr std::size_t kDumpFileLimit = 262144;

// What the text dump dialog asks operation 4 to do.
struct DumpRequest {
  static constexpr std::size_t kFileNameLength = 12;

  std::int32_t Mode = kDumpPrint;
  std::string FileName{kDumpFileName};  // used by kDumpToCard only
  std::uint8_t Confirmed = 0;           // 1 when the dialog was left with "Set"
};

// Why the request cannot be sent, or empty: the card's file name must be one the printer can
// take inside quotes, of at most 12 characters.
std::string DumpRefusal(const DumpRequest& request);

// The DUMP_TEXT command of the request's mode. It has no line end: the printer takes the
// trailing comma as its end.
CommandText DumpCommandText(const DumpRequest& request);

// Operation 4: the command in one write, nothing read back. A refused request gives 5 without
// opening the link.
ResultCode DumpText(LinkLayer& link, InterfaceKind interface, const DumpRequest& request);

// The load of "Dump.txt" (operation 20). It takes one byte beyond the limit, so that a dump
// that was cut can be told from one that just fits.
LoadRequest DumpFileLoadRequest();

// Cuts loaded dump bytes to the limit; true when there were more.
bool CutToDumpLimit(std::vector<std::uint8_t>& bytes);

}  // namespace vantrel
