#include "engine/sim_download_header.h"

namespace vantrel::sim {
namespace {

constexpr std::string_view kDownload = "DOWNLOAD ";
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::size_t kMaxSizeDigits = 10;

int TakeMemory(std::string_view& text) {
  for (const auto& [prefix, memory] : {std::pair{"F,", 1}, std::pair{"E,", 2}}) {
    if (text.starts_with(prefix)) {
      text.remove_prefix(2);
      return memory;
    }
  }
  return 0;
}

}  // namespace

std::optional<SimDownloadHeader> ParseDownloadHeader(std::string_view text) {
  if (!text.starts_with(kDownload)) return std::nullopt;
  text.remove_prefix(kDownload.size());
  SimDownloadHeader header;
  header.memory = TakeMemory(text);
  if (!text.starts_with('"')) return std::nullopt;
  const std::size_t close = text.find('"', 1);
  if (close == std::string_view::npos || close - 1 > kMaxNameBytes) return std::nullopt;
  header.name = text.substr(1, close - 1);
  text.remove_prefix(close + 1);
  if (!text.starts_with(',') || !text.ends_with(',')) return std::nullopt;
  const std::string_view digits = text.substr(1, text.size() - 2);
  if (digits.empty() || digits.size() > kMaxSizeDigits) return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    header.size = header.size * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return header;
}

}  // namespace vantrel::sim
