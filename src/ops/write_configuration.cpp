#include "ops/write_configuration.h"

#include "ops/config_block_commands.h"

namespace vantrel {
namespace {

void WriteBlock(CommandWriter& out, const PrinterConfig& config, int block) {
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
}

}  // namespace

ResultCode WriteConfiguration(LinkLayer& link, InterfaceKind interface, const PrinterConfig& config,
                              int block) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  // No command of a block waits for an answer.
  const HeldWrites held(link);
  CommandWriter out(link);
  WriteBlock(out, config, block);
  return out.result();
}

std::string ConfigurationBlockText(const PrinterConfig& config, int block) {
  std::string text;
  CommandWriter out(text);
  WriteBlock(out, config, block);
  return text;
}

}  // namespace vantrel
