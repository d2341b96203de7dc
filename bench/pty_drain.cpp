#include "pty_drain.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vantrel::bench {

PtyDrain::PtyDrain() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ::grantpt(master_);
  ::unlockpt(master_);
  slave_path_ = ::ptsname(master_);
  slave_ = ::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios line{};
  ::tcgetattr(slave_, &line);
  ::cfmakeraw(&line);
  ::tcsetattr(slave_, TCSANOW, &line);
  thread_ = std::thread([this] {
    static char buffer[1 << 16];
    while (!stopping_) {
      pollfd entry{master_, POLLIN, 0};
      if (::poll(&entry, 1, 50) > 0 && ::read(master_, buffer, sizeof(buffer)) < 0) break;
    }
  });
}

PtyDrain::~PtyDrain() {
  stopping_ = true;
  thread_.join();
  ::close(slave_);
  ::close(master_);
}

}  // namespace vantrel::bench
