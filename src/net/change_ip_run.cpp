#include "net/change_ip_run.h"

#include <utility>

#include "net/setup_datagrams.h"

namespace vantrel {

ChangeIpRun::ChangeIpRun(const DatagramTargets& targets, std::uint16_t sequence,
                         const MacAddress& target)
    : targets_(targets), sequence_(sequence), target_(target) {
  Outcome<std::optional<UdpSocket>> opened = UdpSocket::Open();
  socket_ = std::move(opened.value);
  failure_ = std::move(opened.failure);
}

std::optional<std::size_t> ChangeIpRun::Exchange(std::span<const std::uint8_t> request) {
  LinkFailure sent = socket_->SendTo(request, targets_.broadcast, targets_.port);
  const bool refused = !sent.ok();
  tally_.Count(std::move(sent));
  if (refused) return std::nullopt;
  const UdpSocket::Received answer = socket_->Receive(buffer_, targets_.setup_wait);
  if (answer.arrival != UdpSocket::Arrival::kDatagram || answer.length < kNetCommandHeaderSize) {
    return std::nullopt;
  }
  return answer.length;
}

void ChangeIpRun::ReadSettings(NetSettings& settings) {
  if (!socket_) return;
  if (const auto length = Exchange(BuildGetRequest(sequence_, target_, kItemAddresses))) {
    const AddressReply addresses = DecodeAddressReply(std::span(buffer_).first(*length));
    StoreNetText(settings.IpAddress, FormatIPv4(addresses.ip));
    StoreNetText(settings.LastUsedIp, FormatIPv4(addresses.ip));
    StoreNetText(settings.SubnetMask, FormatIPv4(addresses.mask));
    StoreNetText(settings.Gateway, FormatIPv4(addresses.gateway));
  }
  if (const auto length = Exchange(BuildGetRequest(sequence_, target_, kItemAddressMode))) {
    settings.AddressMode =
        DecodeDhcpReply(std::span(buffer_).first(*length)) ? kAddressModeDhcp : kAddressModeStatic;
  }
}

std::string ChangeIpRun::WriteSettings(const NetSettings& settings) {
  if (!socket_) return failure_.detail;
  // The name goes into a NUL-terminated field, cut to fit: no character of it can do harm.
  // With DHCP the addresses are only carried along, so they need not be valid.
  std::string refusal =
      settings.AddressMode == kAddressModeDhcp ? std::string() : AddressTextsRefusal(settings);
  if (refusal.empty()) SendSets(settings);
  socket_.reset();
  failure_ = {kResultPortOpenError, 0, "the Change IP exchange has ended"};
  return refusal;
}

void ChangeIpRun::SendSets(const NetSettings& settings) {
  SetRequestBuffer requests(sequence_, target_);
  Exchange(requests.NameRequest(settings.PrinterName));
  // Static addresses have passed the refusal check; with DHCP an address the printer did not
  // report (or a text left empty) goes as 0.0.0.0.
  const auto address = [](const std::string& text) {
    return TryParseIPv4(text).value_or(Ipv4Bytes{0, 0, 0, 0});
  };
  Exchange(requests.AddressesRequest(address(settings.IpAddress), address(settings.SubnetMask),
                                     address(settings.Gateway)));
  Exchange(requests.AddressModeRequest(settings.AddressMode == kAddressModeDhcp));
  Exchange(requests.ClosingRequest());
}

}  // namespace vantrel
