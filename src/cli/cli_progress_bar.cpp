#include "cli/cli_progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace vantrel::cli {

CliProgressBar::CliProgressBar() : enabled_(::isatty(STDERR_FILENO) == 1) {}

void CliProgressBar::Show(ProgressOrigin, std::string_view caption) {
  caption_ = std::string(caption);
  SetBar(0);
}

void CliProgressBar::SetBar(int value) {
  constexpr int kWidth = 40;
  const int filled = value * kWidth / 100;
  std::fprintf(stderr, "\r%s [%-*s] %3d%%", caption_.c_str(), kWidth,
               std::string(static_cast<std::size_t>(filled), '#').c_str(), value);
  std::fflush(stderr);
}

void CliProgressBar::Close() {
  std::fputs("\n", stderr);
}

}  // namespace vantrel::cli
