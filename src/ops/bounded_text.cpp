#include "ops/bounded_text.h"

#include <algorithm>
#include <cstdio>

namespace vantrel {

bool AppendFormatted(std::span<char> buffer, std::size_t& length, std::size_t part_capacity,
                     const char* format, va_list args) {
  const std::size_t room = std::min(part_capacity, buffer.size() - 1 - length) + 1;
  const int written = std::vsnprintf(buffer.data() + length, room, format, args);
  if (written < 0 || static_cast<std::size_t>(written) >= room) {
    buffer[length] = '\0';
    return false;
  }
  length += static_cast<std::size_t>(written);
  return true;
}

ResultCode SendInOneWrite(LinkLayer& link, InterfaceKind interface, const CommandText& text) {
  if (!text.complete()) return kResultTransmissionError;
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  return link.SendCommandText(text.view());
}

}  // namespace vantrel
