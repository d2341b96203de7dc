#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/config_file_image.h"
#include "config/unit_conversions.h"

namespace vantrel {

// A configuration document as JSON text that a person can read, edit and review: the resolution
// first, then the rest of the file, then one item a line in page and record order, so that a
// diff of two exports shows exactly the items that changed. Imported again it gives the same
// file byte for byte. For example:
//
//   "resolution": {"dpi": 203, "flag": 1, "dotsPerMm": 8},
//   ...
//   "items": {
//     "Common.Speed": 4,
//     "Common.PaperWidth": {"value": "4.00in", "mm": 101.5},
//     "Common.MediaSensor": "Gap",
//     "Common.GapSize": null,
//     "Z.PrintWidth": {"value": "4.00in", "dots": 812},
//     ...
//
// An item is a value (a length with its unit: "4.00in", "101.60mm", "812dots") or an object
// with it: "dots" or "mm" hold the stored length exactly where the shown value is rounded, and
// are what is imported; "flag" holds a flag other than 1 (0: the item is unset but keeps a
// value). null, or no line at all, is an unset item with its default value.

struct ConfigTextExport {
  std::string text;
  std::string error;  // names what cannot be written as text (a real that is not finite)
};

// Lengths show in `unit`; the file's own unit selector is kept as "fileUnit".
ConfigTextExport ExportConfigText(const ConfigFileContents& contents, LengthUnit unit);

struct ConfigTextImport {
  std::optional<ConfigFileContents> contents;  // none when refused
  int line = 0;                                // where the refusal lies; 0 for the whole text
  std::string reason;
  // The unit of the first length written in inches or millimetres, so that a rewrite keeps the
  // text's unit; none when every length is in dots or unset.
  std::optional<LengthUnit> unit;

  // "line 12: Common.PaperWidth: ..." or the reason alone.
  std::string Message() const;
};

// Refuses, naming the line and the reason and producing nothing: malformed JSON, a duplicate or
// unknown key, a missing resolution or edition, a value that is not of its item's kind, unit or
// choices, and a set value outside what a configuration file may hold.
ConfigTextImport ImportConfigText(std::string_view text);

}  // namespace vantrel
