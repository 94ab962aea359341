#include "cli/file_arguments.h"

#include <string>
#include <vector>

#include "platform/command_line.h"

namespace varnelko::cli {

CLI::Validator OneFile() {
  return CLI::Validator(
      [](std::string& argument) {
        const std::vector<std::string> found = platform::ExpandWildcards({argument});
        if (found.size() > 1) {
          return argument + " matches " + std::to_string(found.size()) + " files; give one";
        }
        argument = found.front();
        return std::string();
      },
      "");
}

}  // namespace varnelko::cli
