#pragma once
// Output names compared as the folder they go into compares them.
#include <filesystem>

namespace varnelko {

// Orders file names (last parts) as one folder tells them apart: on Windows
// by code unit, ignoring case as NTFS does (full-width letters and other
// scripts too, "ＡＢＣ" and "ａｂｃ" are one name); on Linux byte by byte with
// ASCII letters folded, so that a case-insensitive folder is covered too.
// 0 when the names would name the same file.
int CompareFileNames(const std::filesystem::path& a, const std::filesystem::path& b);

struct FileNameLess {
  bool operator()(const std::filesystem::path& a, const std::filesystem::path& b) const {
    return CompareFileNames(a, b) < 0;
  }
};

}  // namespace varnelko
