#include "ops/send_raw_block.h"

namespace vantrel {

ResultCode SendRawBlock(LinkLayer& link, InterfaceKind interface, RawBlock block) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  return SendWithPercentProgress(link, block.bytes);
}

ResultCode SendWithPercentProgress(LinkLayer& link, std::span<const std::uint8_t> bytes) {
  link.progress().BeginProgress(kProgressPercent, 3, 3);
  const bool sent = link.WriteLink(bytes);
  link.progress().EndProgress();
  return sent ? kResultOk : kResultTransmissionError;
}

}  // namespace vantrel
