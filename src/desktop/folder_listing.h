#pragma once
// The entries of one folder as the window lists them. Names on disk are
// kept as they are (bytes on Linux, where drawings unpacked from Windows
// archives often keep code page 932 names); the shown name is UTF-8.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_entry.h"

namespace varnelko {

struct FolderEntry {
  std::filesystem::path name;  // the name on disk, without folder
  std::string shown;           // what the user sees (UTF-8)
  int64_t size = 0;
  LocalTime modified;
  bool read_only = false;
};

enum class EntryKind {
  kFiles,    // plain files and links to them
  kFolders,  // folders, not links to them
};

// Whether `name` matches the wildcard `mask` ("*" any run, "?" one
// character) regardless of the letter case of ASCII letters.
bool MatchesWildcard(std::string_view name, std::string_view mask);

// The entries of `folder` of one kind, hidden ones left out, whose shown
// names match `mask`, sorted by the shown names regardless of letter case.
// An unreadable folder lists nothing.
std::vector<FolderEntry> ListFolder(const std::filesystem::path& folder, EntryKind kind,
                                    std::string_view mask = "*");

}  // namespace varnelko
