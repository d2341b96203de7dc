#pragma once

#include <string>

#include "common/result_code.h"
#include "config/config_items.h"
#include "config/printer_config.h"
#include "link/link_layer.h"

namespace vantrel {

// The page of the configuration tab whose items a write sends.
enum ConfigBlock : int {
  kBlockCommon = 0,
  kBlockZ = 1,
  kBlockD = 2,
};

// A page's items are written as the block of the same number.
inline int ConfigPageBlock(ConfigPage page) {
  return static_cast<int>(page);
}
static_assert(static_cast<int>(ConfigPage::kCommon) == kBlockCommon &&
              static_cast<int>(ConfigPage::kZ) == kBlockZ &&
              static_cast<int>(ConfigPage::kD) == kBlockD);

// Operation 2: sends the set items of one block as printer commands, nothing read back.
// Stops at the first command that fails to go out (2); the ones before it stay in effect.
// A block number other than 0..2 sends nothing and succeeds.
ResultCode WriteConfiguration(LinkLayer& link, InterfaceKind interface, const PrinterConfig& config,
                              int block);

// The commands WriteConfiguration would send for this block, as one text.
std::string ConfigurationBlockText(const PrinterConfig& config, int block);

}  // namespace vantrel
