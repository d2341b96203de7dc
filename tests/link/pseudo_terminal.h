#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

namespace vantrel::testing {

// Writes every byte or throws: the pty's buffer may take a long reply in parts.
inline void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("cannot write to the pseudo-terminal");
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// A pseudo-terminal pair: the link opens the slave by its path, the test plays the printer on
// the master. The test keeps a slave descriptor of its own, so the line (and its settings)
// stays alive between link connections.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    slave_path_ = ::ptsname(master_);
    slave_ = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) throw std::runtime_error("cannot open " + slave_path_);
  }
  ~PseudoTerminal() {
    CloseMaster();
    ::close(slave_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& slave_path() const { return slave_path_; }
  int master() const { return master_; }

  termios SlaveSettings() const {
    termios line{};
    ::tcgetattr(slave_, &line);
    return line;
  }
  void SetSlaveSettings(const termios& line) { ::tcsetattr(slave_, TCSANOW, &line); }
  // Sends XOFF to the slave and returns once the line has acted on it (the kernel takes
  // input in the background), i.e. once the slave takes no more output.
  bool SendXoff() {
    WriteMaster("\x13");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd entry{slave_, POLLOUT, 0};
      if (::poll(&entry, 1, 0) == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  void WriteMaster(std::string_view bytes) { WriteAll(master_, bytes); }

  // Collects up to `count` bytes from the master, giving up after `wait` without any.
  std::string ReadMaster(std::size_t count, std::chrono::milliseconds wait) {
    std::string got;
    pollfd entry{master_, POLLIN, 0};
    while (got.size() < count && ::poll(&entry, 1, static_cast<int>(wait.count())) > 0) {
      char buffer[4096];
      const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
};

// Plays a printer on the master side: each batch of bytes that arrives is handed to `answer`
// and its reply is written back, until the object is destroyed.
class PtyResponder {
 public:
  template <typename Answer>
  PtyResponder(int master, Answer answer) : master_(master) {
    if (::pipe2(stop_, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    thread_ = std::thread([this, answer]() mutable { Serve(answer); });
  }
  ~PtyResponder() {
    const char wake = 0;
    (void)!::write(stop_[1], &wake, 1);
    thread_.join();
    ::close(stop_[0]);
    ::close(stop_[1]);
  }
  PtyResponder(const PtyResponder&) = delete;
  PtyResponder& operator=(const PtyResponder&) = delete;

 private:
  template <typename Answer>
  void Serve(Answer& answer) {
    for (;;) {
      pollfd entries[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
      if (::poll(entries, 2, -1) < 0) continue;
      if (entries[1].revents != 0) return;
      char buffer[4096];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      WriteAll(master_, answer(std::string_view(buffer, static_cast<std::size_t>(n))));
    }
  }

  int master_;
  int stop_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace vantrel::testing
