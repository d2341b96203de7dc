#include "ops/status_labels.h"

namespace vantrel {

StatusLabelStates LitStatusLabels(const StatusFlags& flags) {
  const auto& f = flags.flags;
  const bool ribbon_error = f[3] != 0;
  StatusLabelStates lit{};
  lit[kLabelReady] =
      f[0] == 0 && f[1] == 0 && f[2] == 0 && f[3] == 0 && f[4] == 0 && f[5] == 0 && f[7] == 0;
  lit[kLabelHeadOpen] = f[0] != 0;
  lit[kLabelPaperJam] = f[1] != 0;
  lit[kLabelOutOfPaper] = f[2] != 0;
  lit[kLabelRibbonEnd] = ribbon_error && f[9] != 0;
  lit[kLabelRibbonEncoder] = ribbon_error && f[8] != 0;
  lit[kLabelPause] = f[4] != 0;
  lit[kLabelPrintting] = f[5] != 0;
  lit[kLabelOtherError] = f[7] != 0;
  return lit;
}

std::string_view StatusLabelCaption(StatusLabel label) {
  static constexpr std::array<std::string_view, kStatusLabelCount> kCaptions = {
      "Ready", "Head Open", "Paper Jam",   "Out of Paper", "Ribbon End Err.", "Ribbon Encoder Err.",
      "Pause", "Printting", "Other Error",
  };
  return kCaptions[static_cast<std::size_t>(label)];
}

}  // namespace vantrel
