#pragma once

#include <string>

#include "common/progress.h"

namespace vantrel::cli {

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
