#pragma once
// What tests need that differs between Linux and Windows.
#include <filesystem>
#include <memory>
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

// The same folder by a path that shares no text with `folder`: under Wine,
// the path through its Z: drive, which leads to the Unix root. Empty where
// there is none.
std::filesystem::path OtherSpelling(const std::filesystem::path& folder);

// Keeps `file` open for the life of the returned object, as another
// program holding it would: opened alone (no sharing at all), or shared
// with every byte locked. Windows only; null elsewhere.
enum class Lock { kOpenAlone, kBytesLocked };
std::shared_ptr<void> HoldLocked(const std::filesystem::path& file, Lock lock);

// The system's own words for a file held so (a sharing or a lock
// violation), as the program should give them; empty where files are not
// held so.
std::string LockedText(Lock lock);

// The system's own words for a name that leads nowhere in an existing
// folder, as the program gives them ("No such file or directory" on Linux).
std::string MissingFileText();

// Removes `folder` with all it holds, as far as it can, and returns. On
// Windows the standard library's remove_all gives up past MAX_PATH and can
// loop for ever on a file another program has only just closed (Wine).
void RemoveTree(const std::filesystem::path& folder);

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
