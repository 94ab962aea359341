// varnelko-cli: the headless way to inspect and convert Jw_cad drawings.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

#include "cli/commands.h"
#include "platform/command_line.h"
#include "platform/console.h"

namespace {
constexpr int kExitUsage = 2;
}

int main(int argc, char** argv) {
  varnelko::platform::Utf8Console console;
  const std::vector<std::string> args = varnelko::platform::Utf8Arguments(argc, argv);
  std::vector<const char*> utf8_argv;
  for (const std::string& arg : args) utf8_argv.push_back(arg.c_str());

  CLI::App app{"Varnelko: converts Jw_cad layers to auxiliary colour and line type"};
  // A path such as /tmp/a.jww is a path on every system, never an option;
  // set before the subcommands, which inherit it.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  int exit_code = 0;
  varnelko::cli::AddInfoCommand(app, exit_code);
  varnelko::cli::AddDumpCommand(app, exit_code);
  varnelko::cli::AddRewriteCommand(app, exit_code);
  varnelko::cli::AddConvertCommand(app, exit_code);
  varnelko::cli::AddRenderCommand(app, exit_code);
  try {
    app.parse(static_cast<int>(utf8_argv.size()), utf8_argv.data());
  } catch (const CLI::ParseError& e) {
    // Prints the help asked for, or the usage error; every usage error exits 2.
    return app.exit(e) == 0 ? 0 : kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "varnelko-cli: " << e.what() << "\n";
    return 1;
  }
  return exit_code;
}
