#pragma once
// The program's version, as every program prints it for --version. The
// number is the project's version in the top CMakeLists.txt.
#include <string>

namespace varnelko {

// "Varnelko 1.01".
std::string VersionText();

}  // namespace varnelko
