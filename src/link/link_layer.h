#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/interface_kind.h"
#include "common/progress.h"
#include "common/result_code.h"
#include "link/link_cancel.h"
#include "link/link_settings.h"
#include "link/receive_ring.h"
#include "link/transport.h"
#include "link/transport_opener.h"

namespace vantrel {

// One reply line or frame payload: at most 1024 bytes and a terminating NUL.
struct ReplyBuffer {
  static constexpr std::size_t kCapacity = 1024;
  std::array<char, kCapacity + 1> text{};
  std::uint32_t length = 0;

  std::string_view view() const { return {text.data(), length}; }
};

// The command that opens every exchange in which the printer answers with diagnostic reports.
std::string_view InterfaceAnnouncement(InterfaceKind interface);

// The one road for every printer exchange: bound settings, the receive rings and the one open
// connection. Used by one thread at a time (the one running the current operation).
//
// Results follow the kind of member:
// - Building blocks (OpenLink, WriteLink, the Read* readers) return bool and keep their cause in
//   LastFailure: an operation combines several of them and reports the cause only at its end.
// - Operation steps (SendCommandText, the Query* functions) return the step's ResultCode, which
//   the operation returns as is when the step fails.
// - An operation's end turns its ResultCode into the LinkFailure reported (TakeFailure), with
//   the cause the link kept for it.
class LinkLayer {
 public:
  explicit LinkLayer(TransportOpener opener = OpenSystemTransport);
  ~LinkLayer();
  LinkLayer(const LinkLayer&) = delete;
  LinkLayer& operator=(const LinkLayer&) = delete;

  // The three records stay owned by the caller and must outlive this object.
  void BindLinkSettings(const SerialSettings* serial, const ParallelPortName* parallel,
                        const NetworkTarget* network);
  void SetWaits(const LinkWaits& waits) { waits_ = waits; }
  const LinkWaits& waits() const { return waits_; }
  Progress& progress() { return progress_; }

  // Any thread: ends the running operation at its next chunk or refill, and wakes a network,
  // USB or serial wait within about a tenth of a second. Its failing step reports ECANCELED,
  // the connection counts as lost, and the close does not wait for the printer to take the rest.
  void Cancel() { cancel_.Cancel(); }
  bool Cancelled() const { return cancel_.cancelled(); }
  // Before an operation starts, on the thread that starts it.
  void ResetCancel() { cancel_.Reset(); }

  // False, with the failure (code 1), when no connection opened. Empties the interface's receive
  // ring and gives the connection's reads, together, the operation's read bound from now.
  bool OpenLink(InterfaceKind interface);
  // Gives the open connection's reads, together, `bound` from now instead; `name` names the
  // bound in the failure when it passes ("the file load's bound").
  void SetReadBound(std::chrono::milliseconds bound, std::string name);
  // Ends the connection; on ETHERNET it first makes sure the printer took the last bytes.
  void CloseLink();
  // True when the last close found that the printer did not get every byte written, although
  // each write succeeded. Cleared by ForgetFailure and by every open.
  bool DeliveryFailed() const { return delivery_failed_; }
  // Starts an operation with no failure recorded, so nothing of an earlier one is reported.
  void ForgetFailure();
  // The failure of the operation that ended with `result`, taken out of the link: the link's own
  // cause when it failed with that code (or the one RefuseOperation kept), a bare code when the
  // operation failed elsewhere. Every write can succeed into the system's buffers while the
  // printer never gets the bytes; a result of ok then becomes the close's failure.
  LinkFailure TakeFailure(ResultCode result);
  // Keeps why an operation ends before it opens the link (a host file, a refused value), for
  // TakeFailure; returns its code.
  ResultCode RefuseOperation(LinkFailure failure);

  // True once the current connection's reads were broken off: the link was lost (a reset, a
  // hang-up, an error, a cancel) or its read bound passed, so what came may be cut short. A
  // printer that closed its side in an orderly way has said all it will say: no break.
  // Cleared by every open.
  bool ReadsBrokenOff() const { return stream_end_ == StreamEnd::kLost || overdue_; }
  // True when a failed exchange only lacks its answer (silence, an orderly close, or an answer
  // that made no sense), so a question the printer may not know can be passed over. A failed
  // send, a lost connection or an operation out of time is no missing answer.
  bool AnswerMissing(ResultCode result) const {
    return result == kResultReceivingError && !ReadsBrokenOff();
  }

  // Sends every byte, in the transport's chunks, or returns false with the failure (code 2):
  // the link is not open, a chunk was not taken within its wait, or a cancel came. True only
  // says the system took the bytes; see DeliveryFailed.
  bool WriteLink(std::span<const std::uint8_t> bytes);
  bool WriteLink(std::string_view text);

  // One byte. This reader and those after it fail (code 3) when nothing comes for the
  // interface's read wait, or past the reply's deadline (that wait plus waits.reply_extra,
  // shared by a reader called by another), or past the connection's read bound. An orderly
  // close ends the answer like silence (AnswerMissing); a reset, a hang-up or a cancel is a
  // lost link (ReadsBrokenOff). After a close or a loss every later read fails at once.
  bool ReadReplyByte(std::uint8_t& byte);
  // Fills all of `buffer` or fails; bytes read before the failure stay in it.
  bool ReadReplyBytes(std::span<std::uint8_t> buffer);
  // Reads up to "\n", dropping every "\r". A byte that does not come ends the line: true, with
  // what came (maybe nothing) and that read's failure left in LastFailure; ReadsBrokenOff tells
  // a line cut off by a lost link. Fails only on a line longer than 1024 bytes.
  bool ReadReplyLine(ReplyBuffer& dest);
  // Skips what comes before a "{" (at most a receive ring's worth), then takes
  // "<length>|<payload>" up to "}", the length matching the payload. A frame cut short still
  // counts when its length matches; one that does not keeps the cause that cut it. A malformed
  // or oversized frame fails (code 3).
  bool ReadFramedReply(ReplyBuffer& dest);

  // WriteLink, then ReadFramedReply: kResultTransmissionError or kResultReceivingError.
  ResultCode QueryFramedReply(std::string_view command, ReplyBuffer& dest);
  // Joins the payloads of frames up to an empty one, each followed by "\r\n", NUL-terminated.
  // A list that would not fit into `dest` (payloads, line ends and the NUL) fails with
  // kResultReceivingError rather than come back cut short.
  ResultCode QueryFramedList(std::string_view command, std::span<char> dest, std::uint32_t& total);
  // WriteLink as a step: kResultTransmissionError.
  ResultCode SendCommandText(std::string_view text);
  // Lets the open connection keep what is written back until `hold` is off again or the link
  // closes (see HeldWrites); the bytes and their order stay the same.
  void HoldWrites(bool hold);

  // Why the last failing step of the current or last connection failed; ok when none did.
  // Operations report it through TakeFailure.
  const LinkFailure& LastFailure() const { return last_failure_; }

 private:
  using Clock = std::chrono::steady_clock;

  // Gives the reply read in its scope one deadline; a reader called by another shares it.
  class ReplyClock {
   public:
    explicit ReplyClock(LinkLayer& link);
    ~ReplyClock();
    ReplyClock(const ReplyClock&) = delete;
    ReplyClock& operator=(const ReplyClock&) = delete;

   private:
    LinkLayer& link_;
    bool outermost_;
  };

  ReceiveRing* RingFor(InterfaceKind interface);
  std::chrono::milliseconds ReplyBound() const;
  bool Refill();
  // The refill ended at its deadline: the connection's read bound's or the reply's.
  bool FailLate(bool read_bound);
  bool Fail(LinkFailure failure);
  // A failure found by the reader itself (a malformed or oversized reply): code 3.
  bool FailReading(std::string detail);
  bool FailCancelled(ResultCode code);
  // The list's pause before each frame: the printer is not being waited for.
  void PauseBeforeFrame();

  TransportOpener opener_;
  BoundLinkSettings settings_;
  SerialSettings default_serial_;
  ParallelPortName default_parallel_;
  NetworkTarget default_network_;
  LinkWaits waits_;
  Progress progress_;
  std::unique_ptr<Transport> transport_;
  LinkCancel cancel_;
  InterfaceKind interface_ = kInterfaceUsb;
  // USB, COM and ETHERNET can receive; the parallel port has no reply channel.
  std::unique_ptr<ReceiveRing> rings_[3];
  LinkFailure last_failure_;
  std::optional<Clock::time_point> reply_deadline_;
  Clock::time_point read_deadline_ = Clock::time_point::max();
  std::chrono::milliseconds read_bound_{0};
  std::string read_bound_name_;
  bool delivery_failed_ = false;
  // Once not kOpen, every later refill fails at once with end_failure_.
  StreamEnd stream_end_ = StreamEnd::kOpen;
  LinkFailure end_failure_;
  bool overdue_ = false;
};

// Closes the link on every path out of an operation.
class LinkConnection {
 public:
  LinkConnection(LinkLayer& link, InterfaceKind interface)
      : link_(link), open_(link.OpenLink(interface)) {}
  ~LinkConnection() {
    if (open_) link_.CloseLink();
  }
  LinkConnection(const LinkConnection&) = delete;
  LinkConnection& operator=(const LinkConnection&) = delete;

  bool is_open() const { return open_; }

 private:
  LinkLayer& link_;
  bool open_;
};

// A run of commands that waits for no answer, such as a configuration block: the connection
// may send them together, so that the printer is woken once rather than once a command.
class HeldWrites {
 public:
  explicit HeldWrites(LinkLayer& link) : link_(link) { link_.HoldWrites(true); }
  ~HeldWrites() { link_.HoldWrites(false); }
  HeldWrites(const HeldWrites&) = delete;
  HeldWrites& operator=(const HeldWrites&) = delete;

 private:
  LinkLayer& link_;
};

}  // namespace vantrel
