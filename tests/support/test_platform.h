#pragma once
// What tests need that differs between Linux and Windows.
#include <filesystem>
#include <optional>
#include <string>

namespace varnelko::test {

// Points the variable the system temp folder comes from (TMPDIR on Linux,
// TMP on Windows) at `folder` for the life of the object, for this process
// and the programs it starts; then puts the old value back.
class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::filesystem::path& folder);
  ~TempFolderOverride();
  TempFolderOverride(const TempFolderOverride&) = delete;
  TempFolderOverride& operator=(const TempFolderOverride&) = delete;

 private:
  std::optional<std::filesystem::path> saved_;
};

// Makes `link` a symbolic link to the folder `target` (on Windows, where
// making symbolic links needs a privilege, a junction instead). False when
// the system allows neither; the test then skips.
bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link);

// Makes `link` a symbolic link to the file `target`; false when the system
// does not allow it.
bool MakeFileLink(const std::filesystem::path& target, const std::filesystem::path& link);

constexpr bool kOnWindows =
#if defined(_WIN32)
    true;
#else
    false;
#endif

// Linux file names are bytes, so a name can be raw code page 932 (a drawing
// unpacked from a Windows archive); Windows names are always Unicode.
constexpr bool kNamesCanBeRawBytes = !kOnWindows;

}  // namespace varnelko::test
