#include "ops/command_writer.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace vantrel {

void CommandWriter::Send(const char* format, ...) {
  if (result_ != kResultOk) return;
  std::array<char, kCommandCapacity + 1> text;
  va_list args;
  va_start(args, format);
  // va_start has set `args`; the analyzer of this clang-tidy does not see it.
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
  const int length = std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  if (length < 0 || static_cast<std::size_t>(length) > kCommandCapacity) {
    result_ = kResultTransmissionError;
    return;
  }
  SendText(std::string_view(text.data(), static_cast<std::size_t>(length)));
}

void CommandWriter::SendText(std::string_view text) {
  if (result_ != kResultOk) return;
  if (text_ != nullptr) {
    text_->append(text);
  } else {
    result_ = link_->SendCommandText(text);
  }
}

}  // namespace vantrel
