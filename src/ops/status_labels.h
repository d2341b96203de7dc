#pragma once

#include <array>
#include <string_view>

#include "common/status_flags.h"

namespace vantrel {

// The labels of the status group, in the order they are shown.
enum StatusLabel : int {
  kLabelReady,
  kLabelHeadOpen,
  kLabelPaperJam,
  kLabelOutOfPaper,
  kLabelRibbonEnd,
  kLabelRibbonEncoder,
  kLabelPause,
  kLabelPrintting,
  kLabelOtherError,
  kStatusLabelCount,
};

using StatusLabelStates = std::array<bool, kStatusLabelCount>;

// Which labels are lit for a successful status read. Flag 6 is never shown.
StatusLabelStates LitStatusLabels(const StatusFlags& flags);

// The English caption of a label.
std::string_view StatusLabelCaption(StatusLabel label);

}  // namespace vantrel
