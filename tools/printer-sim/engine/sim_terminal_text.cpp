#include "engine/sim_terminal_text.h"

namespace vantrel::sim {
namespace {

void AppendReadable(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  switch (byte) {
    case 0x1B:
      out += "<ESC>";
      return;
    case '\r':
      out += "<CR>";
      return;
    case '\n':
      out += "<LF>";
      return;
    default:
      break;
  }
  if (byte >= 0x20 && byte < 0x7F) {
    out.push_back(static_cast<char>(byte));
    return;
  }
  out += {'<', kHex[byte >> 4], kHex[byte & 0x0F], '>'};
}

}  // namespace

std::string ReadableCommand(std::string_view command) {
  std::string out;
  out.reserve(command.size());
  for (char c : command) AppendReadable(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace vantrel::sim
