#include "ops/download_file_type.h"

#include <filesystem>

#include "ops/printer_file_name.h"

namespace vantrel {
namespace {

constexpr std::size_t kProposedStemLength = 8;

bool IsKnownType(int type) {
  return type >= 0 && static_cast<std::size_t>(type) < kDownloadTypeCount;
}

}  // namespace

const std::array<DownloadTypeInfo, kDownloadTypeCount>& DownloadTypes() {
  static constexpr std::array<DownloadTypeInfo, kDownloadTypeCount> kTypes = {{
      {"BMP", "bmp", "*.BMP|*.BMP|*.*|*.*", ".BMP", false},
      {"PCX", "pcx", "*.PCX|*.PCX|*.*|*.*", ".PCX", false},
      {"True Type Font", "ttf", "*.TTF|*.TTF", ".TTF", false},
      {"Bitmap Font", "font", "", "", false},
      {"Printer BASIC File", "bas", "*.BAS|*.BAS|*.*|*.*", ".BAS", false},
      {"Data File", "data", "*.*|*.*", "", false},
      {"Firmware File", "firmware", "*.NEW|*.NEW|*.*|*.*", "", true},
      {"PZN File", "pzn", "*.PZN|*.PZN|*.*|*.*", "", true},
  }};
  return kTypes;
}

std::string_view DownloadFilter(int type) {
  return IsKnownType(type) ? DownloadTypes()[static_cast<std::size_t>(type)].filter : "*.*|*.*";
}

bool IsRawDownloadType(int type) {
  return IsKnownType(type) && DownloadTypes()[static_cast<std::size_t>(type)].raw;
}

std::string ProposedPrinterName(std::string_view host_path, int type) {
  std::string name(
      FirstCharacters(std::filesystem::path(host_path).stem().string(), kProposedStemLength));
  if (IsKnownType(type)) name += DownloadTypes()[static_cast<std::size_t>(type)].extension;
  return name;
}

}  // namespace vantrel
