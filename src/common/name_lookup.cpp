#include "common/name_lookup.h"

#include <sys/socket.h>

#include <cerrno>

namespace vantrel {

NameLookup::NameLookup(const std::string& name, const char* port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  // A NUL would end the name early for the resolver.
  const int status = name.find('\0') == std::string::npos
                         ? ::getaddrinfo(name.c_str(), port, &hints, &head_)
                         : EAI_NONAME;
  if (status != 0) {
    head_ = nullptr;
    failure_ = {kResultPortOpenError, status == EAI_SYSTEM ? errno : 0,
                "cannot resolve \"" + name + "\": " + ::gai_strerror(status)};
  }
}

NameLookup::~NameLookup() {
  if (head_ != nullptr) ::freeaddrinfo(head_);
}

}  // namespace vantrel
