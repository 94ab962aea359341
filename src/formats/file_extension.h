#pragma once
#include <filesystem>
#include <string>

namespace varnelko {

// The file name's extension from its last "." (the dot included), in upper
// case; empty when the name has no dot. A name such as ".jww" counts as all
// extension, as the file list shows it.
std::string UpperCaseExtension(const std::filesystem::path& path);

}  // namespace varnelko
