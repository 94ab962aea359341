// varnelko-cli: the headless way to inspect and convert Jw_cad drawings.
#include <CLI/CLI.hpp>

#include <exception>
#include <sstream>

#include "cli/commands.h"
#include "cli/report_text.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "version.h"

namespace {

constexpr int kExitUsage = 2;

// "/?" and "-?", as Windows programs take them, ask for the help as
// "--help" does; neither can be a file name there.
std::vector<std::string> WithHelpAliases(std::vector<std::string> args) {
  for (std::string& arg : args) {
    if (arg == "/?" || arg == "-?") arg = "--help";
  }
  return args;
}

// Prints the help or version asked for, or the usage error; every usage
// error exits 2. The text goes out as every other line of the program does.
int ExitFor(const CLI::App& app, const CLI::Error& e) {
  using varnelko::platform::Stream;
  std::ostringstream out, err;
  const int status = app.exit(e, out, err);
  varnelko::platform::WriteText(Stream::kOut, out.str());
  varnelko::platform::WriteText(Stream::kError, err.str());
  return status == 0 ? 0 : kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args =
      WithHelpAliases(varnelko::platform::Utf8Arguments(argc, argv));
  std::vector<const char*> utf8_argv;
  for (const std::string& arg : args) utf8_argv.push_back(arg.c_str());

  CLI::App app{"Varnelko: converts Jw_cad layers to auxiliary colour and line type"};
  // A path such as /tmp/a.jww is a path on every system, never an option;
  // set before the subcommands, which inherit it.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.set_version_flag("--version", varnelko::VersionText());
  int exit_code = 0;
  varnelko::cli::AddInfoCommand(app, exit_code);
  varnelko::cli::AddDumpCommand(app, exit_code);
  varnelko::cli::AddRewriteCommand(app, exit_code);
  varnelko::cli::AddConvertCommand(app, exit_code);
  varnelko::cli::AddRenderCommand(app, exit_code);
  try {
    app.parse(static_cast<int>(utf8_argv.size()), utf8_argv.data());
  } catch (const CLI::ParseError& e) {
    return ExitFor(app, e);
  } catch (const std::exception& e) {
    varnelko::cli::PrintErrorLine(std::string("varnelko-cli: ") + e.what());
    return 1;
  }
  return exit_code;
}
