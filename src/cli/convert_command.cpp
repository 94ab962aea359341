#include "cli/commands.h"

namespace varnelko::cli {

void AddConvertCommand(CLI::App& app, int& exit_code) {
  (void)app;
  (void)exit_code;
}

}  // namespace varnelko::cli
