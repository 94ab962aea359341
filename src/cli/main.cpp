// varnelko-cli: the headless way to inspect and convert Jw_cad drawings.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Varnelko: converts Jw_cad layers to auxiliary colour and line type"};
  app.require_subcommand(1);
  int exit_code = 0;
  varnelko::cli::AddInfoCommand(app, exit_code);
  varnelko::cli::AddDumpCommand(app, exit_code);
  varnelko::cli::AddRewriteCommand(app, exit_code);
  varnelko::cli::AddConvertCommand(app, exit_code);
  varnelko::cli::AddRenderCommand(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version exit 0; every wrong usage exits 2, as a refusal does.
    return app.exit(e) == 0 ? 0 : 2;
  }
  return exit_code;
}
