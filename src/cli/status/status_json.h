#pragma once

#include <nlohmann/json.hpp>

#include "common/status_flags.h"

namespace vantrel::cli {

// A successful status read as `status --json` prints it: {"flags": [ten 0/1], "lit": [...]},
// the captions of the lit labels in the order they are shown.
nlohmann::json StatusJson(const StatusFlags& flags);

}  // namespace vantrel::cli
