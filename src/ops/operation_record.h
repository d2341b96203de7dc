#pragma once

#include <cstdint>
#include <span>
#include <variant>

#include "common/status_flags.h"
#include "config/printer_config.h"
#include "net/net_settings.h"
#include "ops/clock_operations.h"
#include "ops/download_file.h"
#include "ops/dump_text.h"
#include "ops/load_file.h"
#include "ops/memory_info.h"
#include "ops/sensor_calibration.h"
#include "ops/test_page.h"

namespace vantrel {

// A block of bytes sent unchanged (operation 12).
struct RawBlock {
  std::span<const std::uint8_t> bytes;
};

// The record an operation fills or reads; each operation accepts exactly one alternative.
using OperationRecord =
    std::variant<std::monostate, StatusFlags*, RawBlock, PrinterConfig*, NetSettings*, MemoryInfo*,
                 MemoryDevice, DownloadRequest*, LoadRequest*, ClockSettings*, CalibrationRequest*,
                 DumpRequest*, TestPageRequest*>;

}  // namespace vantrel
