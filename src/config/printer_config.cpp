#include "config/printer_config.h"

#include <bit>

namespace vantrel {

void ResetConfig(PrinterConfig& config) {
  config = PrinterConfig{};
  // Given as bit patterns: 11.8 is a default of its own, not 200 / 25.4.
  config.Dpi.value = std::bit_cast<float>(std::uint32_t{0x43480000});  // 200.0
  config.DotsPerMm = std::bit_cast<float>(std::uint32_t{0x413CCCCD});  // 11.8
  config.Speed.value = 3.0F;
  config.ControlPrefixZ.value = '~';
  config.FormatPrefixZ.value = '^';
  config.DelimiterCharZ.value = ',';
}

}  // namespace vantrel
