#pragma once

#include <CLI/CLI.hpp>

#include "cli/common/context.h"

namespace vantrel::cli {

// `config diff` exits with this when something differs; 0 when nothing does.
inline constexpr int kExitDiffers = 10;

void AddConfigDiffCommand(CLI::App& config, CliContext& context);

}  // namespace vantrel::cli
