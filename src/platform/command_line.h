#pragma once
// The command line as UTF-8 text, the same on every system.
#include <string>
#include <vector>

namespace varnelko::platform {

// The arguments, program name first. Windows hands `argv` over in the ANSI
// code page, which cannot hold every file name, so there they are read again
// from the UTF-16 command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Each file argument with "*" and "?" in its last part gives the matching names
// in that folder, sorted; with no match it stays as it is, so that the
// command says the file is missing. Linux shells expand these before the
// program starts, so there every argument stays as it is.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments);

}  // namespace varnelko::platform
