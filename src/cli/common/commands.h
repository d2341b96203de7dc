#pragma once

#include <CLI/CLI.hpp>

#include "cli/common/context.h"

namespace vantrel::cli {

// Each family of commands registers its subcommands; a chosen command sets context.action.
void AddStatusCommands(CLI::App& app, CliContext& context);
void AddPortsCommand(CLI::App& app, CliContext& context);
void AddConfigCommands(CLI::App& app, CliContext& context);
void AddDatagramCommands(CLI::App& app, CliContext& context);
void AddNetSettingsCommands(CLI::App& app, CliContext& context);
void AddFontCommands(CLI::App& app, CliContext& context);
void AddClockCommands(CLI::App& app, CliContext& context);
void AddUtilityCommands(CLI::App& app, CliContext& context);
void AddDoctorCommand(CLI::App& app, CliContext& context);
void AddFilesCommands(CLI::App& app, CliContext& context);
void AddFleetCommand(CLI::App& app, CliContext& context);

// The `--wait MS` of the commands that read a file until the printer falls silent.
void AddLoadWaitOption(CLI::App& command, int& wait_ms);

}  // namespace vantrel::cli
