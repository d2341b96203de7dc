#pragma once

#include <string>
#include <vector>

#include "common/progress.h"

namespace vantrel::testing {

// Records what a progress window would have drawn.
class ProgressRecorder : public ProgressView {
 public:
  void Show(ProgressOrigin origin, std::string_view caption) override {
    ++shows;
    last_origin = origin;
    last_caption = std::string(caption);
  }
  void SetBar(int value) override { bars.push_back(value); }
  void Close() override { ++closes; }

  int shows = 0;
  int closes = 0;
  ProgressOrigin last_origin;
  std::string last_caption;
  std::vector<int> bars;
};

}  // namespace vantrel::testing
