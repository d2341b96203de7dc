#include "link/link_layer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace vantrel {

std::string_view InterfaceAnnouncement(InterfaceKind interface) {
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
  settings_.cancel = &cancel_;
  for (auto& ring : rings_) ring = std::make_unique<ReceiveRing>();
}

LinkLayer::~LinkLayer() = default;

void LinkLayer::BindLinkSettings(const SerialSettings* serial, const ParallelPortName* parallel,
                                 const NetworkTarget* network) {
  settings_.serial = serial != nullptr ? serial : &default_serial_;
  settings_.parallel = parallel != nullptr ? parallel : &default_parallel_;
  settings_.network = network != nullptr ? network : &default_network_;
}

ReceiveRing* LinkLayer::RingFor(InterfaceKind interface) {
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

bool LinkLayer::OpenLink(InterfaceKind interface) {
  CloseLink();
  last_failure_ = {};
  delivery_failed_ = false;
  stream_end_ = StreamEnd::kOpen;
  end_failure_ = {};
  overdue_ = false;
  OpenedTransport opened = opener_(interface, settings_, waits_);
  if (opened.value == nullptr) {
    last_failure_ = std::move(opened.failure);
    return false;
  }
  transport_ = std::move(opened.value);
  cancel_.Attach(transport_.get());
  interface_ = interface;
  // A cancel that came while connecting.
  if (cancel_.cancelled()) {
    CloseLink();
    FailCancelled(kResultPortOpenError);
    return false;
  }
  if (ReceiveRing* ring = RingFor(interface)) ring->Reset();
  SetReadBound(waits_.operation_read, "the operation's read bound");
  return true;
}

void LinkLayer::SetReadBound(std::chrono::milliseconds bound, std::string name) {
  read_deadline_ = Clock::now() + bound;
  read_bound_ = bound;
  read_bound_name_ = std::move(name);
}

void LinkLayer::CloseLink() {
  if (transport_ == nullptr) return;
  // A cancelled operation does not wait for the printer to take what it was sent.
  if (LinkFailure finished = cancel_.cancelled() ? LinkFailure{} : transport_->Finish();
      !finished.ok()) {
    delivery_failed_ = true;
    last_failure_ = std::move(finished);
  }
  cancel_.Attach(nullptr);
  transport_.reset();
}

void LinkLayer::ForgetFailure() {
  last_failure_ = {};
  delivery_failed_ = false;
}

ResultCode LinkLayer::RefuseOperation(LinkFailure failure) {
  last_failure_ = std::move(failure);
  return last_failure_.code;
}

LinkFailure LinkLayer::TakeFailure(ResultCode result) {
  LinkFailure taken = std::exchange(last_failure_, {});
  if (result == kResultOk) return delivery_failed_ ? taken : LinkFailure{};
  return taken.code == result ? taken : LinkFailure{result, 0, {}};
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

bool LinkLayer::Fail(LinkFailure failure) {
  last_failure_ = std::move(failure);
  return false;
}

bool LinkLayer::FailReading(std::string detail) {
  return Fail({kResultReceivingError, 0, std::move(detail)});
}

bool LinkLayer::FailCancelled(ResultCode code) {
  stream_end_ = StreamEnd::kLost;
  return Fail(CancelledFailure(code));
}

bool LinkLayer::WriteLink(std::string_view text) {
  return WriteLink(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool LinkLayer::WriteLink(std::span<const std::uint8_t> bytes) {
  progress_.ReportProgress(kProgressStep, 0);
  if (transport_ == nullptr) return Fail({kResultTransmissionError, 0, "the link is not open"});
  const std::size_t length = bytes.size();
  const std::size_t chunk_size = std::max<std::size_t>(1, transport_->shape().chunk_size);
  std::size_t sent = 0;
  while (sent < length) {
    const std::size_t piece = std::min(chunk_size, length - sent);
    const bool more = sent + piece < length;
    if (cancel_.cancelled()) return FailCancelled(kResultTransmissionError);
    if (LinkFailure written = transport_->WriteChunk(bytes.subspan(sent, piece), more);
        !written.ok()) {
      return cancel_.cancelled() ? FailCancelled(kResultTransmissionError)
                                 : Fail(std::move(written));
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
  if (transport_ == nullptr || ring == nullptr || transport_->shape().refill_size == 0) {
    return FailReading("this link cannot receive");
  }
  const Clock::time_point reply_deadline = reply_deadline_.value_or(Clock::time_point::max());
  const bool read_bound_first = read_deadline_ <= reply_deadline;
  const Clock::time_point deadline = read_bound_first ? read_deadline_ : reply_deadline;
  if (cancel_.cancelled()) return FailCancelled(kResultReceivingError);
  if (stream_end_ != StreamEnd::kOpen) return Fail(end_failure_);
  if (Clock::now() >= deadline) return FailLate(read_bound_first);
  std::array<std::uint8_t, 4096> buffer;
  const std::size_t room =
      std::min({buffer.size(), transport_->shape().refill_size, ring->free_space()});
  transport_->SetReplyDeadline(deadline);
  Received received = transport_->Refill(std::span(buffer.data(), room));
  if (received.count == 0) {
    if (cancel_.cancelled()) return FailCancelled(kResultReceivingError);
    if (received.end != StreamEnd::kOpen) {
      stream_end_ = received.end;
      end_failure_ = received.failure;
      return Fail(std::move(received.failure));
    }
    return Clock::now() < deadline ? Fail(std::move(received.failure)) : FailLate(read_bound_first);
  }
  ring->Append(std::span(buffer.data(), std::min(received.count, room)));
  return true;
}

bool LinkLayer::FailLate(bool read_bound) {
  if (!read_bound) {
    return Fail(
        {kResultReceivingError, ETIMEDOUT,
         "the reply was not complete within " + std::to_string(ReplyBound().count()) + " ms"});
  }
  overdue_ = true;
  return Fail({kResultReceivingError, ETIMEDOUT,
               "the printer answered too slowly: " + read_bound_name_ + " of " +
                   std::to_string(read_bound_.count()) + " ms passed"});
}

bool LinkLayer::ReadReplyByte(std::uint8_t& byte) {
  const ReplyClock clock(*this);
  ReceiveRing* ring = RingFor(interface_);
  if (transport_ == nullptr || ring == nullptr) return FailReading("this link cannot receive");
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

void LinkLayer::HoldWrites(bool hold) {
  if (transport_ != nullptr) transport_->HoldWrites(hold);
}

ResultCode LinkLayer::QueryFramedReply(std::string_view command, ReplyBuffer& dest) {
  if (!WriteLink(command)) return kResultTransmissionError;
  return ReadFramedReply(dest) ? kResultOk : kResultReceivingError;
}

}  // namespace vantrel
