#include "link/serial_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

#include "common/socket_wait.h"
#include "link/device_open_error.h"
#include "link/serial_port_names.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kAccessHint =
    "add the user to the group that owns the device (usually dialout) and log in again";
// How often a closing port looks whether its queued output has left.
constexpr std::chrono::milliseconds kDrainPoll{5};

speed_t BaudRate(int index) {
  static constexpr std::array<speed_t, 7> kRates = {B2400,  B4800,  B9600,  B19200,
                                                    B38400, B57600, B115200};
  if (index < 0 || index >= static_cast<int>(kRates.size())) return B9600;
  return kRates[static_cast<std::size_t>(index)];
}

void SetFlag(tcflag_t& flags, tcflag_t bits, bool on) {
  flags = on ? (flags | bits) : (flags & ~bits);
}

// Some devices (pseudo-terminals among them) have no modem lines; that is no reason to fail.
void RaiseModemLines(int fd) {
  for (int line : {TIOCM_DTR, TIOCM_RTS}) ::ioctl(fd, TIOCMBIS, &line);
}

WaitResult WaitUntil(int fd, short events, Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() <= 0 ? WaitResult::kTimedOut : WaitForDescriptor(fd, events, left);
}

}  // namespace

termios SerialLineSettings(const SerialSettings& settings, termios line) {
  ::cfmakeraw(&line);
  line.c_cflag |= CREAD | CLOCAL;
  line.c_cc[VMIN] = 1;  // with O_NONBLOCK: no data reads as EAGAIN, a hang-up as 0
  line.c_cc[VTIME] = 0;
  ::cfsetispeed(&line, BaudRate(settings.baud_rate_index));
  ::cfsetospeed(&line, BaudRate(settings.baud_rate_index));
  line.c_cflag = (line.c_cflag & ~CSIZE) | (settings.data_bits_index == 0 ? CS7 : CS8);
  const bool odd = settings.parity_index == 1;
  const bool even = settings.parity_index == 2;
  SetFlag(line.c_cflag, PARENB, odd || even);
  SetFlag(line.c_cflag, PARODD, odd);
  SetFlag(line.c_iflag, INPCK, odd);
  SetFlag(line.c_cflag, CSTOPB, settings.stop_bits_index == 1 || settings.stop_bits_index == 2);
  SetFlag(line.c_cflag, CRTSCTS, settings.hardware_handshake_index != 0);
  SetFlag(line.c_iflag, IXON | IXOFF, settings.software_handshake_index == 1);
  return line;
}

std::unique_ptr<SerialTransport> SerialTransport::Open(const SerialSettings& settings,
                                                       const LinkWaits& waits, std::string& cause) {
  const std::optional<std::string> device = ResolveSerialPort(settings.port_name, cause);
  if (!device) return nullptr;
  const int fd = ::open(device->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    cause = DeviceOpenFailure(*device, errno, kAccessHint);
    return nullptr;
  }
  termios original{};
  if (::tcgetattr(fd, &original) != 0) {
    cause = *device + " is not a serial port: " + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  // From here the destructor restores the saved settings on every path.
  std::unique_ptr<SerialTransport> port(new SerialTransport(fd, original, waits, *device));
  if (!port->Configure(settings, cause)) return nullptr;
  return port;
}

bool SerialTransport::Configure(const SerialSettings& settings, std::string& cause) {
  const termios line = SerialLineSettings(settings, original_);
  // A port left in its previous (often canonical, echoing) mode would mangle every reply.
  if (::tcsetattr(fd_, TCSANOW, &line) != 0) {
    cause = device_ + " refused the line settings: " + std::strerror(errno);
    return false;
  }
  RaiseModemLines(fd_);
  ::tcflush(fd_, TCIOFLUSH);
  return true;
}

SerialTransport::~SerialTransport() {
  // After a failed write the block is incomplete anyway, and a line held by CTS or XOFF would
  // only make the drain wait out its bound.
  if (write_failed_) {
    ::tcflush(fd_, TCOFLUSH);
  } else {
    DrainOutput();
  }
  ::tcsetattr(fd_, TCSANOW, &original_);
  ::close(fd_);
}

// Restoring another baud rate while bytes still wait in the driver would garble the tail of
// the last write, so let them leave first, within the time a write of them may take.
void SerialTransport::DrainOutput() {
  int queued = 0;
  if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) return;
  const auto deadline = Clock::now() + waits_.com_write + waits_.com_write_per_byte * queued;
  while (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(kDrainPoll);
  }
}

bool SerialTransport::AwaitReady(short events, Deadline deadline, std::string timeout_cause) {
  switch (WaitUntil(fd_, events, deadline)) {
    case WaitResult::kReady:
      return true;
    case WaitResult::kTimedOut:
      SetCause(std::move(timeout_cause));
      return false;
    case WaitResult::kFailed:
      break;
  }
  SetCause("waiting on " + device_ + " failed: " + std::strerror(errno));
  return false;
}

bool SerialTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool /*more_follows*/) {
  write_failed_ = !WriteAll(chunk);
  return !write_failed_;
}

bool SerialTransport::WriteAll(std::span<const std::uint8_t> chunk) {
  const auto bound = waits_.com_write + waits_.com_write_per_byte * static_cast<int>(chunk.size());
  const auto deadline = Clock::now() + bound;
  std::size_t sent = 0;
  while (sent < chunk.size()) {
    const ssize_t n = ::write(fd_, chunk.data() + sent, chunk.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      const std::string timeout_cause =
          device_ + " took no data for " + std::to_string(bound.count()) + " ms";
      if (!AwaitReady(POLLOUT, deadline, timeout_cause)) return false;
    } else {
      SetCause("writing to " + device_ + " failed: " + std::strerror(errno));
      return false;
    }
  }
  return true;
}

std::size_t SerialTransport::Refill(std::span<std::uint8_t> into) {
  const std::chrono::milliseconds wait = WithinReply(waits_.com_read);
  const auto deadline = Clock::now() + wait;
  const std::size_t want = std::min(into.size(), kRefillSize);
  for (;;) {
    const ssize_t n = ::read(fd_, into.data(), want);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      const std::string timeout_cause =
          "no answer on " + device_ + " within " + std::to_string(wait.count()) + " ms";
      if (!AwaitReady(POLLIN, deadline, timeout_cause)) return 0;
      continue;
    }
    // A vanished adapter reads as end of file, a pseudo-terminal without its master as EIO.
    SetLost(n == 0 || errno == EIO ? device_ + " hung up"
                                   : "reading " + device_ + " failed: " + std::strerror(errno));
    return 0;
  }
}

}  // namespace vantrel
