// Feeds arbitrary bytes to the configuration file parser; whatever it accepts must build back
// into the same image, but for the format version word, which loading ignores and saving writes.
#include <cstdint>
#include <cstring>
#include <span>

#include "config/config_file_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parsed = vantrel::ParseConfigFileImage(std::span(data, size));
  if (!parsed) return 0;
  const vantrel::ConfigFileImage rebuilt = vantrel::BuildConfigFileImage(*parsed);
  constexpr std::size_t kAfterVersion = 8;
  if (size < rebuilt.size() || std::memcmp(rebuilt.data(), data, 4) != 0 ||
      std::memcmp(rebuilt.data() + kAfterVersion, data + kAfterVersion,
                  rebuilt.size() - kAfterVersion) != 0) {
    __builtin_trap();
  }
  return 0;
}
