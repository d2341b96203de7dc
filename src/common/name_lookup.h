#pragma once

#include <netdb.h>

#include <string>

#include "common/failure.h"

namespace vantrel {

// The system resolver's stream addresses (IPv4 and IPv6) for one name, freed with this object.
// Blocks for as long as the resolver takes. A name that does not resolve is a port open failure
// saying "cannot resolve" and why.
class NameLookup {
 public:
  // `port` as the resolver's service text; null for none.
  explicit NameLookup(const std::string& name, const char* port = nullptr);
  ~NameLookup();
  NameLookup(const NameLookup&) = delete;
  NameLookup& operator=(const NameLookup&) = delete;

  // The first address, in the resolver's order; null when the lookup failed.
  const addrinfo* first() const { return head_; }
  const LinkFailure& failure() const { return failure_; }

 private:
  addrinfo* head_ = nullptr;
  LinkFailure failure_;
};

}  // namespace vantrel
