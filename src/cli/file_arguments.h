#pragma once
// File arguments of the commands that read one drawing (dump, render,
// rewrite): a wildcard there is expanded as every command expands its files
// (platform::ExpandWildcards), and must then name one file.
#include <CLI/CLI.hpp>

namespace varnelko::cli {

CLI::Validator OneFile();

}  // namespace varnelko::cli
