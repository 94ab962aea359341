#pragma once
// The names in a folder, as the command line takes them: files to convert
// and names for wildcards to match. On Windows the folder is listed at any
// path length.
#include <filesystem>
#include <system_error>
#include <vector>

namespace varnelko {

struct FolderName {
  std::filesystem::path name;  // the last part only
  bool is_folder = false;      // a folder, or a link or junction that leads to one
};

// The entries of `folder` (empty: the current folder) but "." and "..", in
// no particular order. False, with the system's reason in `error`, when
// the folder cannot be listed.
bool ListFolderNames(const std::filesystem::path& folder, std::vector<FolderName>& names,
                     std::error_code& error);

}  // namespace varnelko
