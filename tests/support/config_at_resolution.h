#pragma once

#include "config/printer_config.h"

namespace vantrel::testing {

// A record with every item unset, as read from a printer of this resolution.
inline PrinterConfig ConfigAtResolution(float dpi, float dots_per_mm) {
  PrinterConfig config;
  ResetConfig(config);
  config.Dpi.Set(dpi);
  config.DotsPerMm = dots_per_mm;
  return config;
}

}  // namespace vantrel::testing
