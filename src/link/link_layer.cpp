#include "link/link_layer.h"

#include <algorithm>
#include <array>

namespace vantrel {

std::string_view InterfaceAnnouncement(int interface) {
  static constexpr std::array<std::string_view, 4> kAnnouncements = {
      "\r\nDIAGNOSTIC INTERFACE USB\r\n",
      "\r\nDIAGNOSTIC INTERFACE COM\r\n",
      "\r\nDIAGNOSTIC INTERFACE LPT\r\n",
      "\r\nDIAGNOSTIC INTERFACE NET\r\n",
  };
  if (!IsValidInterface(interface)) return {};
  return kAnnouncements[static_cast<std::size_t>(interface)];
}

LinkLayer::LinkLayer(TransportOpener opener) : opener_(std::move(opener)) {
  BindLinkSettings(nullptr, nullptr, nullptr);
  for (auto& ring : rings_) ring = std::make_unique<ReceiveRing>();
}

LinkLayer::~LinkLayer() = default;

void LinkLayer::BindLinkSettings(const SerialSettings* serial, const ParallelPortName* parallel,
                                 const NetworkTarget* network) {
  settings_.serial = serial != nullptr ? serial : &default_serial_;
  settings_.parallel = parallel != nullptr ? parallel : &default_parallel_;
  settings_.network = network != nullptr ? network : &default_network_;
}

ReceiveRing* LinkLayer::RingFor(int interface) {
  switch (interface) {
    case kInterfaceUsb:
      return rings_[0].get();
    case kInterfaceCom:
      return rings_[1].get();
    case kInterfaceEthernet:
      return rings_[2].get();
    default:
      return nullptr;
  }
}

int LinkLayer::OpenLink(int interface) {
  CloseLink();
  last_cause_.clear();
  delivery_failed_ = false;
  if (!IsValidInterface(interface)) {
    last_cause_ = "unknown interface " + std::to_string(interface);
    return kInvalidLinkHandle;
  }
  std::string cause;
  transport_ = opener_(static_cast<InterfaceKind>(interface), settings_, waits_, cause);
  if (transport_ == nullptr) {
    last_cause_ = std::move(cause);
    return kInvalidLinkHandle;
  }
  interface_ = interface;
  if (ReceiveRing* ring = RingFor(interface)) ring->Reset();
  return transport_->Handle();
}

void LinkLayer::CloseLink() {
  if (transport_ == nullptr) return;
  if (!transport_->Finish()) {
    delivery_failed_ = true;
    last_cause_ = transport_->cause();
  }
  transport_.reset();
}

LinkLayer::ReplyClock::ReplyClock(LinkLayer& link)
    : link_(link), outermost_(!link.reply_deadline_) {
  if (outermost_) link_.reply_deadline_ = Clock::now() + link_.ReplyBound();
}

LinkLayer::ReplyClock::~ReplyClock() {
  if (outermost_) link_.reply_deadline_.reset();
}

std::chrono::milliseconds LinkLayer::ReplyBound() const {
  switch (interface_) {
    case kInterfaceUsb:
      return waits_.usb_read + waits_.reply_extra;
    case kInterfaceCom:
      return waits_.com_read + waits_.reply_extra;
    default:
      return waits_.net_read + waits_.reply_extra;
  }
}

bool LinkLayer::Fail(std::string cause) {
  last_cause_ = std::move(cause);
  return false;
}

bool LinkLayer::WriteLink(std::string_view text) {
  return WriteLink(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool LinkLayer::WriteLink(std::span<const std::uint8_t> bytes) {
  progress_.ReportProgress(kProgressStep, 0);
  if (transport_ == nullptr) return Fail("the link is not open");
  const std::size_t length = bytes.size();
  const std::size_t chunk_size = std::max<std::size_t>(1, transport_->ChunkSize());
  std::size_t sent = 0;
  while (sent < length) {
    const std::size_t piece = std::min(chunk_size, length - sent);
    const bool more = sent + piece < length;
    if (!transport_->WriteChunk(bytes.subspan(sent, piece), more)) {
      return Fail(transport_->cause());
    }
    sent += piece;
    // 64-bit product: a block of several GiB must not wrap the percentage.
    const auto percent = static_cast<int>(static_cast<std::uint64_t>(sent) * 100 / length);
    progress_.ReportProgress(kProgressPercent, percent);
  }
  if (interface_ == kInterfaceEthernet && length > 0) {
    progress_.ReportProgress(kProgressPercent, 100);
  }
  return true;
}

bool LinkLayer::Refill() {
  ReceiveRing* ring = RingFor(interface_);
  if (transport_ == nullptr || ring == nullptr || !transport_->CanReceive()) {
    return Fail("this link cannot receive");
  }
  const Clock::time_point deadline = reply_deadline_.value_or(Clock::time_point::max());
  const auto bound_passed = [&] {
    return Fail("the reply was not complete within " + std::to_string(ReplyBound().count()) +
                " ms");
  };
  if (Clock::now() >= deadline) return bound_passed();
  std::array<std::uint8_t, 4096> buffer;
  const std::size_t room = std::min({buffer.size(), transport_->RefillSize(), ring->free_space()});
  transport_->SetReplyDeadline(deadline);
  const std::size_t got = transport_->Refill(std::span(buffer.data(), room));
  if (got == 0) {
    return transport_->lost() || Clock::now() < deadline ? Fail(transport_->cause())
                                                         : bound_passed();
  }
  ring->Append(std::span(buffer.data(), std::min(got, room)));
  return true;
}

bool LinkLayer::ReadReplyByte(std::uint8_t& byte) {
  const ReplyClock clock(*this);
  ReceiveRing* ring = RingFor(interface_);
  if (transport_ == nullptr || ring == nullptr) return Fail("this link cannot receive");
  if (ring->count() == 0 && !Refill()) return false;
  return ring->Take(byte);
}

bool LinkLayer::ReadReplyBytes(std::span<std::uint8_t> buffer) {
  const ReplyClock clock(*this);
  for (std::uint8_t& byte : buffer) {
    if (!ReadReplyByte(byte)) return false;
  }
  return true;
}

ResultCode LinkLayer::SendCommandText(std::string_view text) {
  return WriteLink(text) ? kResultOk : kResultTransmissionError;
}

ResultCode LinkLayer::QueryFramedReply(std::string_view command, ReplyBuffer& dest) {
  if (!WriteLink(command)) return kResultTransmissionError;
  return ReadFramedReply(dest) ? kResultOk : kResultReceivingError;
}

}  // namespace vantrel
