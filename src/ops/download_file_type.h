#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// The item order of the File Manager's file type list; kDownloadTypeNone when nothing is chosen.
enum DownloadFileType : int {
  kDownloadTypeNone = -1,
  kDownloadTypeBmp = 0,
  kDownloadTypePcx,
  kDownloadTypeTrueType,
  kDownloadTypeBitmapFont,
  kDownloadTypeBasic,
  kDownloadTypeData,
  kDownloadTypeFirmware,
  kDownloadTypePzn,
};

struct DownloadTypeInfo {
  std::string_view caption;    // the list item, the same in every language
  std::string_view word;       // the command-line spelling
  std::string_view filter;     // description|pattern pairs for the open dialog
  std::string_view extension;  // added to the proposed printer name
  bool raw;                    // sent unchanged, without a DOWNLOAD command
};

inline constexpr std::size_t kDownloadTypeCount = 8;

// The File Manager keeps printer names within the printer's own 8.3 naming.
inline constexpr std::size_t kFileManagerNameLimit = 12;

const std::array<DownloadTypeInfo, kDownloadTypeCount>& DownloadTypes();

// The open dialog's filter for a type; all files when no type is chosen.
std::string_view DownloadFilter(int type);
bool IsRawDownloadType(int type);

// The file name without folder and extension, cut to 8 characters, then the type's extension.
std::string ProposedPrinterName(std::string_view host_path, int type);

}  // namespace vantrel
