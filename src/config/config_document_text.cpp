#include "config/config_document_text.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "config/config_item_text.h"

namespace vantrel {
namespace {

std::string Member(std::string_view key, const std::string& json) {
  return "  \"" + std::string(key) + "\": " + json + ",\n";
}

// The whole field but its trailing NULs: bytes a loaded file keeps after the text's end survive.
template <std::size_t N>
std::string TextJson(const Text<N>& field) {
  std::size_t length = N;
  while (length > 0 && field[length - 1] == '\0') --length;
  return JsonString({field.data(), length});
}

std::string StatusJson(const StatusFlags& status) {
  std::string text;
  for (const std::uint8_t flag : status.flags) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", flag);
    text += (text.empty() ? "" : " ") + std::string(byte);
  }
  return JsonString(text);
}

std::string FileUnitJson(std::int32_t unit) {
  if (unit == kUnitInch) return "\"in\"";
  if (unit == kUnitMm) return "\"mm\"";
  return std::to_string(unit);
}

bool SameBits(const ConfigItem& item, const PrinterConfig& a, const PrinterConfig& b) {
  return std::visit(
      [&](auto member) {
        const auto x = (a.*member).value;
        const auto y = (b.*member).value;
        if constexpr (std::is_same_v<decltype(x), const float>) {
          return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
        } else {
          return x == y;
        }
      },
      item.field);
}

std::uint8_t ItemFlag(const ConfigItem& item, const PrinterConfig& config) {
  return std::visit([&](auto member) { return (config.*member).flag; }, item.field);
}

// The stored length where the value alone would not bring it back exactly: always the dots of a
// length shown in a unit, the millimetres where the shown hundredths lose something.
std::string ExactJson(const ConfigItem& item, const PrinterConfig& config,
                      const std::string& value) {
  const bool shown_in_unit = !value.ends_with("dots\"");
  if (const IntItem* dots = DotsField(item, config)) {
    return shown_in_unit ? ", \"dots\": " + std::to_string(dots->value) : "";
  }
  if (item.kind != ItemKind::kMillimetres) return {};
  PrinterConfig again = config;
  const std::string text = value.substr(1, value.size() - 2);
  const bool exact = StoreItemValue(item, {text}, again).empty() && SameBits(item, config, again);
  const float mm = (config.*std::get<RealItem PrinterConfig::*>(item.field)).value;
  return exact ? "" : ", \"mm\": " + ShortestText(mm);
}

}  // namespace

ConfigTextExport ExportConfigText(const ConfigFileContents& contents, LengthUnit unit) {
  const PrinterConfig& config = contents.config;
  if (!std::isfinite(config.Dpi.value) || !std::isfinite(config.DotsPerMm)) {
    return {{}, "the resolution is not a finite number"};
  }
  PrinterConfig defaults;
  ResetConfig(defaults);
  std::string text = "{\n";
  text += Member("resolution", "{\"dpi\": " + ShortestText(config.Dpi.value) +
                                   ", \"flag\": " + std::to_string(config.Dpi.flag) +
                                   ", \"dotsPerMm\": " + ShortestText(config.DotsPerMm) + "}");
  text += Member("edition", std::to_string(config.Edition));
  text += Member("fileUnit", FileUnitJson(contents.unit));
  text += Member("version", TextJson(config.Version));
  text += Member("milage", TextJson(config.Milage));
  text += Member("checksum", TextJson(config.Checksum));
  text += Member("serialNo", TextJson(config.SerialNo));
  text += Member("status", StatusJson(contents.status));
  text += "  \"items\": {";
  const char* separator = "\n";
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      const std::uint8_t flag = ItemFlag(item, config);
      std::string json = "null";
      if (flag != 0 || !SameBits(item, config, defaults)) {
        const std::string value = ItemValueJson(item, config, unit);
        if (value.empty()) return {{}, ItemKey(item) + " is not a finite number"};
        json = value + ExactJson(item, config, value);
        if (flag != 1) json += ", \"flag\": " + std::to_string(flag);
        if (json != value) json.insert(0, "{\"value\": ").append("}");
      }
      text += separator + ("    \"" + ItemKey(item) + "\": ") + json;
      separator = ",\n";
    }
  }
  text += "\n  }\n}\n";
  return {std::move(text), {}};
}

std::string ConfigTextImport::Message() const {
  return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
}

}  // namespace vantrel
