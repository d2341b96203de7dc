#include "ops/write_configuration.h"

#include "ops/config_block_commands.h"

namespace vantrel {

ResultCode WriteConfiguration(LinkLayer& link, int interface, const PrinterConfig& config,
                              int block) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  CommandWriter out(link);
  switch (block) {
    case kBlockCommon:
      WriteCommonBlock(out, config);
      break;
    case kBlockZ:
      WriteZBlock(out, config);
      break;
    case kBlockD:
      WriteDBlock(out, config);
      break;
    default:
      break;
  }
  return out.result();
}

}  // namespace vantrel
