#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

#include "config/config_file.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// A configuration document comes as a 638-byte file or as its text form; each command that
// takes one takes either, told apart by their content.
enum class DocumentForm { kFile, kText };

struct ConfigDocument {
  ConfigFileContents contents;
  DocumentForm form = DocumentForm::kFile;
  // The text's lengths are written in this unit; a file shows its own.
  LengthUnit unit = kUnitInch;
};

// A text longer than this is no document's.
inline constexpr std::size_t kConfigTextLimit = std::size_t{1} << 20;

// The text form starts with "{" after any blanks and byte order mark; a file starts with its
// magic, whose first byte is none of these.
bool IsConfigText(std::span<const std::uint8_t> bytes);

// Reads a document of either form. A refused text is a data error whose detail names the file
// and the line: "PATH: line 12: Common.PaperWidth: ...". `document` changes only when ok.
ConfigFileResult ReadConfigDocument(const std::filesystem::path& path, ConfigDocument& document);

// The contents alone, as LoadConfigFile gives them.
ConfigFileResult LoadConfigDocument(const std::filesystem::path& path,
                                    ConfigFileContents& contents);

// Writes the document in its own form and unit, in place of `path` as SaveConfigFile does:
// the old file or the complete new one, never a part.
ConfigFileResult SaveConfigDocument(const std::filesystem::path& path,
                                    const ConfigDocument& document);

// The text form of `contents` in `unit`, written in place of `path` likewise.
ConfigFileResult SaveConfigText(const std::filesystem::path& path,
                                const ConfigFileContents& contents, LengthUnit unit);

}  // namespace vantrel::cli
