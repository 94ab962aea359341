#include "platform/command_line.h"

namespace varnelko::platform {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments) {
  return arguments;
}

}  // namespace varnelko::platform
