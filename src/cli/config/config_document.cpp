#include "cli/config/config_document.h"

#include <string_view>
#include <vector>

#include "cli/config/config_text.h"
#include "common/host_file.h"
#include "config/config_document_text.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

ConfigFileResult Refused(const std::filesystem::path& path, const std::string& why) {
  return {ConfigFileStatus::kDataError, 0, path.string() + ": " + why};
}

std::string_view WithoutByteOrderMark(std::span<const std::uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

ConfigFileResult ReadText(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                          ConfigDocument& document) {
  if (bytes.size() > kConfigTextLimit) {
    return Refused(path, "longer than a configuration text can be (" +
                             std::to_string(kConfigTextLimit) + " bytes)");
  }
  const ConfigTextImport imported = ImportConfigText(WithoutByteOrderMark(bytes));
  if (!imported.contents) return Refused(path, imported.Message());
  document.contents = *imported.contents;
  document.form = DocumentForm::kText;
  document.unit = imported.unit.value_or(ShownUnit(imported.contents->unit));
  return {};
}

}  // namespace

bool IsConfigText(std::span<const std::uint8_t> bytes) {
  const std::string_view text = WithoutByteOrderMark(bytes);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '{';
}

ConfigFileResult ReadConfigDocument(const std::filesystem::path& path, ConfigDocument& document) {
  // One byte past the limit tells a text that is too long from one that just fits.
  std::vector<std::uint8_t> bytes;
  if (const HostFileResult read = ReadHostFileHead(path, kConfigTextLimit + 1, bytes); !read.ok()) {
    return {ConfigFileStatus::kOpenError, read.os_error, read.detail};
  }
  if (IsConfigText(bytes)) return ReadText(path, bytes, document);
  ConfigFileContents contents;
  if (ConfigFileResult parsed = ParseConfigFile(bytes, path.string(), contents); !parsed.ok()) {
    return parsed;
  }
  document = {contents, DocumentForm::kFile, ShownUnit(contents.unit)};
  return {};
}

ConfigFileResult LoadConfigDocument(const std::filesystem::path& path,
                                    ConfigFileContents& contents) {
  ConfigDocument document;
  ConfigFileResult read = ReadConfigDocument(path, document);
  if (read.ok()) contents = document.contents;
  return read;
}

ConfigFileResult SaveConfigDocument(const std::filesystem::path& path,
                                    const ConfigDocument& document) {
  if (document.form == DocumentForm::kFile) return SaveConfigFile(path, document.contents);
  return SaveConfigText(path, document.contents, document.unit);
}

ConfigFileResult SaveConfigText(const std::filesystem::path& path,
                                const ConfigFileContents& contents, LengthUnit unit) {
  const ConfigTextExport exported = ExportConfigText(contents, unit);
  if (!exported.error.empty()) return Refused(path, exported.error);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(exported.text.data());
  return ConfigFileFailure(ReplaceHostFile(path, {bytes, exported.text.size()}));
}

}  // namespace vantrel::cli
