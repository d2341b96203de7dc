// The reply readers that parse lines and braced frames out of the receive ring.
#include <algorithm>
#include <cstring>
#include <thread>

#include "link/link_layer.h"

namespace vantrel {
namespace {

constexpr std::size_t kMaxLengthDigits = 31;
constexpr std::size_t kMaxBytesBeforeFrame = ReceiveRing::kCapacity;

// Parses "<digits>|<payload>" and checks the payload's length. No digits read as length 0.
bool ParseFrameContent(std::string_view content, std::string_view& payload) {
  const std::size_t bar = content.find('|');
  if (bar == std::string_view::npos || bar > kMaxLengthDigits) return false;
  std::size_t declared = 0;
  for (char c : content.substr(0, bar)) {
    if (c < '0' || c > '9') return false;
    // Past the largest possible payload the value can only fail, so stop growing it.
    if (declared <= ReplyBuffer::kCapacity)
      declared = declared * 10 + static_cast<std::size_t>(c - '0');
  }
  payload = content.substr(bar + 1);
  return declared == payload.size();
}

}  // namespace

bool LinkLayer::ReadReplyLine(ReplyBuffer& dest) {
  const ReplyClock clock(*this);
  dest.length = 0;
  dest.text[0] = '\0';
  std::uint8_t byte = 0;
  // A byte that does not arrive ends the line: what came so far is the line.
  while (ReadReplyByte(byte)) {
    if (byte == '\r') continue;
    if (byte == '\n') break;
    if (dest.length == ReplyBuffer::kCapacity)
      return FailReading("reply line longer than 1024 bytes");
    dest.text[dest.length++] = static_cast<char>(byte);
  }
  dest.text[dest.length] = '\0';
  return true;
}

bool LinkLayer::ReadFramedReply(ReplyBuffer& dest) {
  const ReplyClock clock(*this);
  dest.length = 0;
  dest.text[0] = '\0';
  std::uint8_t byte = 0;
  // A peer that streams without ever opening a frame would otherwise hold the read forever,
  // each refill arriving within its wait.
  for (std::size_t skipped = 0;; ++skipped) {
    if (!ReadReplyByte(byte)) return false;
    if (byte == '{') break;
    if (skipped == kMaxBytesBeforeFrame) return FailReading("no reply frame in the data received");
  }

  std::array<char, ReplyBuffer::kCapacity> content;
  std::size_t collected = 0;
  // A closing brace that never comes: the bytes collected so far are the frame.
  bool closed = false;
  while (ReadReplyByte(byte)) {
    closed = byte == '}';
    if (closed) break;
    if (collected == content.size()) return FailReading("reply frame longer than 1024 bytes");
    content[collected++] = static_cast<char>(byte);
  }
  std::string_view payload;
  if (!ParseFrameContent(std::string_view(content.data(), collected), payload)) {
    // A frame cut off by a reset, a hang-up or the reply's deadline keeps that cause.
    return closed ? FailReading("malformed reply frame") : false;
  }
  std::memcpy(dest.text.data(), payload.data(), payload.size());
  dest.length = static_cast<std::uint32_t>(payload.size());
  dest.text[dest.length] = '\0';
  return true;
}

// A long list holds many pauses: the read bound counts only the time spent on the printer.
void LinkLayer::PauseBeforeFrame() {
  const Clock::time_point start = Clock::now();
  std::this_thread::sleep_for(waits_.list_frame_pause);
  if (read_deadline_ != Clock::time_point::max()) read_deadline_ += Clock::now() - start;
}

ResultCode LinkLayer::QueryFramedList(std::string_view command, std::span<char> dest,
                                      std::uint32_t& total) {
  total = 0;
  if (!dest.empty()) dest[0] = '\0';
  if (!WriteLink(command)) return kResultTransmissionError;
  std::size_t offset = 0;
  ReplyBuffer frame;
  for (;;) {
    PauseBeforeFrame();
    if (!ReadFramedReply(frame)) return kResultReceivingError;
    if (frame.length == 0) break;
    // Payload, "\r\n" and the closing NUL must all fit.
    if (offset + frame.length + 3 > dest.size()) {
      FailReading("list longer than " + std::to_string(dest.size()) + " bytes");
      return kResultReceivingError;
    }
    std::memcpy(dest.data() + offset, frame.text.data(), frame.length);
    offset += frame.length;
    dest[offset++] = '\r';
    dest[offset++] = '\n';
    dest[offset] = '\0';
  }
  total = static_cast<std::uint32_t>(offset);
  return kResultOk;
}

}  // namespace vantrel
