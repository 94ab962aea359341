#pragma once
// The command line as UTF-8 text, the same on every system.
#include <string>
#include <vector>

namespace varnelko::platform {

// The arguments, program name first. Windows hands `argv` over in the ANSI
// code page, which cannot hold every file name, so there they are read again
// from the UTF-16 command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Each file argument with "*" and "?" gives the matching paths, sorted; a
// wildcard may stand in any part ("図面?\*.jww"), where a folder part
// matches folders only, and letters match in either case as the file
// system compares names. With no match an argument stays as it is, so that
// the command says the file is missing. Every command expands its files
// here. Linux shells expand wildcards before the program starts, so there
// every argument stays as it is.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments);

}  // namespace varnelko::platform
