#pragma once

#include <string>

#include "config/printer_config.h"

namespace vantrel {

// A document keeps its own resolution (its Dpi, set or not); a printer's comes from its read.

// A configuration document as a printer of another resolution is to be told it.
struct DocumentAtPrinter {
  PrinterConfig config;
  // "converted from 203 to 300 dpi"; empty when both resolutions are the same.
  std::string conversion;
  // Names the length that could not be converted; `config` is then not to be written.
  std::string failure;
};

// Every length the document holds in dots moved to the nearest dot at the printer's resolution,
// so that each keeps its length, and the printer's Dpi and DotsPerMm in place of the document's.
// A length written in hundredths of an inch keeps the hundredths the document would send.
DocumentAtPrinter DocumentAtResolution(const PrinterConfig& document, const PrinterConfig& printer);

// "203 dpi".
std::string ResolutionText(const PrinterConfig& config);

}  // namespace vantrel
