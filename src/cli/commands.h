#pragma once
// Each subcommand of varnelko-cli registers itself on the application and
// sets the exit status it wants through `exit_code`.
#include <CLI/CLI.hpp>

namespace varnelko::cli {

void AddInfoCommand(CLI::App& app, int& exit_code);
void AddDumpCommand(CLI::App& app, int& exit_code);
void AddRewriteCommand(CLI::App& app, int& exit_code);
void AddConvertCommand(CLI::App& app, int& exit_code);
void AddRenderCommand(CLI::App& app, int& exit_code);

}  // namespace varnelko::cli
