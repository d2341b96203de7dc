#include "net/name_resolver.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <array>

#include "common/name_lookup.h"

namespace vantrel {

Outcome<std::optional<ResolvedName>> ResolveName(const std::string& name) {
  const NameLookup lookup(name);
  if (lookup.first() == nullptr) return {std::nullopt, lookup.failure()};
  const addrinfo* chosen = lookup.first();
  for (const addrinfo* entry = chosen; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family == AF_INET) {
      chosen = entry;
      break;
    }
  }
  std::array<char, NI_MAXHOST> text{};
  if (const int status = ::getnameinfo(chosen->ai_addr, chosen->ai_addrlen, text.data(),
                                       text.size(), nullptr, 0, NI_NUMERICHOST);
      status != 0) {
    return {
        std::nullopt,
        {kResultPortOpenError, 0, "cannot resolve \"" + name + "\": " + ::gai_strerror(status)}};
  }
  ResolvedName resolved{text.data(), std::nullopt};
  if (chosen->ai_family == AF_INET) {
    resolved.ipv4 = ntohl(reinterpret_cast<const sockaddr_in*>(chosen->ai_addr)->sin_addr.s_addr);
  }
  return {resolved, {}};
}

}  // namespace vantrel
