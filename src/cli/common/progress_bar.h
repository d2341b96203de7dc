#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/progress.h"

namespace vantrel::cli {

// One progress line, drawn over the last: "CAPTION [####      ] SUFFIX"; a total of 0 is done.
std::string BarLine(std::string_view caption, std::size_t done, std::size_t total,
                    std::string_view suffix);
// Draws the line on stderr; the caller draws only when stderr is a terminal.
void DrawBarLine(const std::string& line);
// Clears the bar's line on stderr.
void ClearBarLine();

// Draws the progress window as one line on stderr, only when stderr is a terminal.
class CliProgressBar : public ProgressView {
 public:
  CliProgressBar();
  bool enabled() const { return enabled_; }

  void Show(ProgressOrigin origin, std::string_view caption) override;
  void SetBar(int value) override;
  void Close() override;

 private:
  bool enabled_;
  std::string caption_;
};

}  // namespace vantrel::cli
