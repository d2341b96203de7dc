#pragma once

#include <cstdint>
#include <optional>

namespace vantrel {

// How many bytes the peer's TCP has acknowledged on the connected socket `fd` since it was made,
// its SYN and a FIN counting one each; still told once a reset has ended the connection.
// Nothing where the system does not say.
std::optional<std::uint64_t> AcknowledgedBytes(int fd);

}  // namespace vantrel
