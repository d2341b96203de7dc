#pragma once

#include <CLI/CLI.hpp>

#include "cli/common/context.h"

namespace vantrel::cli {

// vantrel-cli's whole command line on `app`: its name, help, link options and every command
// family. Parsing only fills the options and sets context.action; nothing is run or opened.
void DescribeCommandLine(CLI::App& app, CliContext& context);

}  // namespace vantrel::cli
