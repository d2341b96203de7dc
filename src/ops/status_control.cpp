#include "ops/status_control.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kRibbonEncoderBit = 0x08;
constexpr std::uint8_t kRibbonEndBit = 0x04;

ResultCode SendFixedCommand(LinkLayer& link, InterfaceKind interface, std::string_view command) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  return link.SendCommandText(command);
}

}  // namespace

ResultCode QueryStatus(LinkLayer& link, InterfaceKind interface, StatusFlags& flags) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  if (!link.WriteLink(kStatusQuery)) return kResultTransmissionError;
  std::uint8_t status = 0;
  if (!link.ReadReplyByte(status)) return kResultReceivingError;
  for (std::size_t bit = 0; bit < 8; ++bit) flags.flags[bit] = (status >> bit) & 1U;
  flags.flags[8] = 0;
  flags.flags[9] = 0;
  if (!link.WriteLink(kDetailQuery)) return kResultTransmissionError;
  std::array<std::uint8_t, 8> detail{};
  if (!link.ReadReplyBytes(detail)) {
    // A printer without the detail answer says nothing or closes; one that reset part way has
    // no status.
    return link.AnswerMissing(kResultReceivingError) ? kResultOk : kResultReceivingError;
  }
  if ((detail[4] & kRibbonEncoderBit) != 0) {
    flags.flags[8] = 1;
  } else if ((detail[4] & kRibbonEndBit) != 0) {
    flags.flags[9] = 1;
  }
  return kResultOk;
}

ResultCode FactoryDefault(LinkLayer& link, InterfaceKind interface) {
  return SendFixedCommand(link, interface, kFactoryDefaultCommand);
}

ResultCode PrintConfigurationPage(LinkLayer& link, InterfaceKind interface) {
  return SendFixedCommand(link, interface, kConfigurationPageCommand);
}

ResultCode ResetPrinter(LinkLayer& link, InterfaceKind interface) {
  return SendFixedCommand(link, interface, kResetCommand);
}

ResultCode IgnoreAutoBas(LinkLayer& link, InterfaceKind interface) {
  return SendFixedCommand(link, interface, kIgnoreAutoBasCommand);
}

ResultCode ProbeLink(LinkLayer& link, InterfaceKind interface) {
  LinkConnection connection(link, interface);
  return connection.is_open() ? kResultOk : kResultPortOpenError;
}

}  // namespace vantrel
