// The baseline of the download benchmark: copies a file to a TCP peer through one 64 KiB
// buffer, as a plain netcat would. Usage: plain_copy HOST PORT FILE
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool SendAll(int fd, const char* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::send(fd, bytes, length, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: plain_copy HOST PORT FILE\n");
    return 64;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[2])));
  const int file = ::open(argv[3], O_RDONLY | O_CLOEXEC);
  const int peer = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (file < 0 || peer < 0 || ::inet_pton(AF_INET, argv[1], &address.sin_addr) != 1 ||
      ::connect(peer, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    std::perror("plain_copy");
    return 1;
  }
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    const ssize_t n = ::read(file, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || (n > 0 && !SendAll(peer, buffer.data(), static_cast<std::size_t>(n)))) {
      std::perror("plain_copy");
      return 1;
    }
    if (n == 0) break;
  }
  ::shutdown(peer, SHUT_WR);
  ::close(peer);
  ::close(file);
  return 0;
}
