#include "platform/folder_names.h"

namespace varnelko {
namespace fs = std::filesystem;

bool ListFolderNames(const fs::path& folder, std::vector<FolderName>& names,
                     std::error_code& error) {
  error.clear();
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
       !error && it != end; it.increment(error)) {
    std::error_code entry_error;
    names.push_back({it->path().filename(), it->is_directory(entry_error)});
  }
  return !error;
}

}  // namespace varnelko
