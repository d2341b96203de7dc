#include "cli/status/status_json.h"

#include "ops/status_labels.h"

namespace vantrel::cli {

nlohmann::json StatusJson(const StatusFlags& flags) {
  const StatusLabelStates lit = LitStatusLabels(flags);
  nlohmann::json captions = nlohmann::json::array();
  for (int label = 0; label < kStatusLabelCount; ++label) {
    if (lit[static_cast<std::size_t>(label)]) {
      captions.push_back(StatusLabelCaption(static_cast<StatusLabel>(label)));
    }
  }
  return {{"flags", flags.flags}, {"lit", captions}};
}

}  // namespace vantrel::cli
