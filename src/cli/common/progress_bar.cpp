#include "cli/common/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace vantrel::cli {

std::string BarLine(std::string_view caption, std::size_t done, std::size_t total,
                    std::string_view suffix) {
  constexpr std::size_t kWidth = 30;
  const std::size_t filled = total == 0 ? kWidth : std::min(done, total) * kWidth / total;
  std::string line(caption);
  if (!line.empty()) line += ' ';
  line += '[' + std::string(filled, '#') + std::string(kWidth - filled, ' ') + ']';
  if (!suffix.empty()) line += ' ';
  return line += suffix;
}

void DrawBarLine(const std::string& line) {
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
}

void ClearBarLine() {
  std::fputs("\r\033[K", stderr);
}

CliProgressBar::CliProgressBar() : enabled_(::isatty(STDERR_FILENO) == 1) {}

void CliProgressBar::Show(ProgressOrigin, std::string_view caption) {
  caption_ = std::string(caption);
  SetBar(0);
}

void CliProgressBar::SetBar(int value) {
  const std::size_t percent = static_cast<std::size_t>(std::clamp(value, 0, 100));
  DrawBarLine(BarLine(caption_, percent, 100, std::to_string(percent) + "%"));
}

void CliProgressBar::Close() {
  std::fputs("\n", stderr);
}

}  // namespace vantrel::cli
