#pragma once

#include <CLI/CLI.hpp>

#include "cli/common/context.h"

namespace vantrel::cli {

// config export / import / set: documents between their two forms, and edited in place.
void AddConfigDocumentCommands(CLI::App& config, CliContext& context);
// config apply: a document's page to one printer, planned, backed up and verified.
void AddConfigApplyCommand(CLI::App& config, CliContext& context);

}  // namespace vantrel::cli
