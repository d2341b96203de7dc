#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/memory_info.h"

namespace vantrel {

// The record of operation 11: which host file goes into which printer memory under which name.
struct DownloadRequest {
  // The printer name travels in a 32-byte field with its NUL.
  static constexpr std::size_t kNameCapacity = 31;
  // The announced size is read by the printer as a signed 32-bit decimal.
  static constexpr std::uint64_t kMaxFileBytes = std::numeric_limits<std::int32_t>::max();

  std::string source_path;
  std::string printer_name;
  MemoryDevice device = kMemoryFlash;
};

// Why the request would be refused before anything is read or sent, or empty: an unsafe or
// too long printer name, or an unknown memory.
std::string DownloadRefusal(const DownloadRequest& request);

// Operation 11: reads the host file whole, then sends "DOWNLOAD" with the memory's prefix, the
// quoted name and the size, and the file's bytes right after it, with the progress window in
// percent mode. A refused request gives kResultUnknownError, and a host file that cannot be
// read or is too large to announce kResultFileOpenError, both before the link is opened and
// with their cause.
ResultCode DownloadFile(LinkLayer& link, InterfaceKind interface, const DownloadRequest& request);

}  // namespace vantrel
