// Apart from tcp_transport.cpp: the kernel's tcp_info, which has the acknowledged count, and the
// C library's, which has not, cannot share one file.
#include "link/tcp_acknowledged.h"

#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstddef>

namespace vantrel {

std::optional<std::uint64_t> AcknowledgedBytes(int fd) {
  tcp_info info{};
  socklen_t size = sizeof(info);
  if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) return std::nullopt;
  // An older kernel fills a shorter record.
  if (size < offsetof(tcp_info, tcpi_bytes_acked) + sizeof(info.tcpi_bytes_acked)) {
    return std::nullopt;
  }
  return info.tcpi_bytes_acked;
}

}  // namespace vantrel
