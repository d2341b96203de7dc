#include "ops/memory_info.h"

namespace vantrel {

std::string_view DevicePrefix(MemoryDevice device) {
  switch (device) {
    case kMemoryFlash:
      return "F,";
    case kMemoryCard:
      return "E,";
    default:
      return "";
  }
}

void ClearMemoryInfo(MemoryInfo& info) {
  info = MemoryInfo{};
}

std::vector<std::string> FileListLines(const DeviceMemoryBlock& block) {
  constexpr std::string_view kLineEnd = "\r\n";
  std::vector<std::string> lines;
  std::string_view rest = block.file_list;
  for (std::size_t end = rest.find(kLineEnd); end != std::string_view::npos;
       end = rest.find(kLineEnd)) {
    lines.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

}  // namespace vantrel
