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

#include "link/descriptor_write.h"
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

Outcome<std::unique_ptr<SerialTransport>> SerialTransport::Open(const SerialSettings& settings,
                                                                const LinkWaits& waits) {
  Outcome<std::string> device = ResolveSerialPort(settings.port_name);
  if (!device.failure.ok()) return {nullptr, std::move(device.failure)};
  const std::string& path = device.value;
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return {nullptr, DeviceOpenFailure(path, errno, kAccessHint)};
  termios original{};
  if (::tcgetattr(fd.get(), &original) != 0) {
    const int error = errno;
    return {nullptr,
            {kResultPortOpenError, error, path + " is not a serial port: " + std::strerror(error)}};
  }
  // From here the destructor restores the saved settings on every path.
  std::unique_ptr<SerialTransport> port(new SerialTransport(std::move(fd), original, waits, path));
  LinkFailure configured = port->Configure(settings);
  if (!configured.ok()) return {nullptr, std::move(configured)};
  return {std::move(port), {}};
}

LinkFailure SerialTransport::Configure(const SerialSettings& settings) {
  const termios line = SerialLineSettings(settings, original_);
  // A port left in its previous (often canonical, echoing) mode would mangle every reply.
  if (::tcsetattr(fd_.get(), TCSANOW, &line) != 0) {
    const int error = errno;
    return {kResultPortOpenError, error,
            device_ + " refused the line settings: " + std::strerror(error)};
  }
  RaiseModemLines(fd_.get());
  // Only stale input goes: output still queued is what an earlier connection of this program
  // wrote (a pseudo-terminal reports its queue as empty, so the close could not wait for it).
  ::tcflush(fd_.get(), TCIFLUSH);
  return {};
}

SerialTransport::~SerialTransport() {
  // After a failed write the block is incomplete anyway, and a line held by CTS or XOFF would
  // only make the drain wait out its bound.
  if (write_failed_) {
    ::tcflush(fd_.get(), TCOFLUSH);
  } else {
    DrainOutput();
  }
  ::tcsetattr(fd_.get(), TCSANOW, &original_);
}

// Restoring another baud rate while bytes still wait in the driver would garble the tail of
// the last write, so let them leave first, within the time a write of them may take.
void SerialTransport::DrainOutput() {
  int queued = 0;
  if (::ioctl(fd_.get(), TIOCOUTQ, &queued) != 0 || queued <= 0) return;
  const auto deadline = Clock::now() + waits_.com_write + waits_.com_write_per_byte * queued;
  while (::ioctl(fd_.get(), TIOCOUTQ, &queued) == 0 && queued > 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(kDrainPoll);
  }
}

LinkFailure SerialTransport::WriteChunk(std::span<const std::uint8_t> chunk,
                                        bool /*more_follows*/) {
  LinkFailure failure =
      WritePort(fd_.get(), chunk, PortWrite(waits_, chunk.size(), device_), device_, &interrupted_);
  write_failed_ = !failure.ok();
  return failure;
}

Received SerialTransport::Refill(std::span<std::uint8_t> into) {
  const std::chrono::milliseconds wait = WithinReply(waits_.com_read);
  const Deadline deadline = Clock::now() + wait;
  const std::size_t want = std::min(into.size(), kRefillSize);
  for (;;) {
    const ssize_t n = ::read(fd_.get(), into.data(), want);
    if (n > 0) return {.count = static_cast<std::size_t>(n)};
    const int error = n < 0 ? errno : 0;
    if (error == EINTR) continue;
    if (error == EAGAIN) {
      LinkFailure failure = AwaitDescriptor(
          fd_.get(), POLLIN, deadline, kResultReceivingError,
          "no answer on " + device_ + " within " + std::to_string(wait.count()) + " ms", device_,
          &interrupted_);
      if (!failure.ok()) return {.failure = std::move(failure)};
      continue;
    }
    // A vanished adapter reads as end of file, a pseudo-terminal without its master as EIO.
    return {0,
            StreamEnd::kLost,
            {kResultReceivingError, error,
             n == 0 || error == EIO ? device_ + " hung up"
                                    : "reading " + device_ + " failed: " + std::strerror(error)}};
  }
}

}  // namespace vantrel
