// varnelko-cli: the headless way to inspect and convert Jw_cad drawings.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

#include "cli/commands.h"

namespace {
constexpr int kExitUsage = 2;
}

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
    // Prints the help asked for, or the usage error; every usage error exits 2.
    return app.exit(e) == 0 ? 0 : kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "varnelko-cli: " << e.what() << "\n";
    return 1;
  }
  return exit_code;
}
