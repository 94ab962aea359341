// varnelko-cli: the headless way to inspect and convert Jw_cad drawings.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "platform/command_line.h"
#include "platform/console.h"

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
  CLI11_PARSE(app, static_cast<int>(utf8_argv.size()), utf8_argv.data());
  return exit_code;
}
