#pragma once

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/memory_info.h"

namespace vantrel {

// Operation 10: the interface announcement, then for DRAM, FLASH and CARD the physical size,
// the free space (not for CARD, which cannot tell it) and the file list. The first failing
// step ends it with its code; what was read before it stays in `info`.
ResultCode ReadFileList(LinkLayer& link, InterfaceKind interface, MemoryInfo& info);

// Operation 13: erases every file of one memory with KILL. Nothing is read back.
ResultCode FormatMemory(LinkLayer& link, InterfaceKind interface, MemoryDevice device);

}  // namespace vantrel
