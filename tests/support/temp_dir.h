#pragma once
// A fresh folder under the system temp directory, removed with its contents
// when the test ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace varnelko::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  // Writes `bytes` to a file in the folder and returns its path. The name is
  // UTF-8 text (on Linux any bytes).
  std::filesystem::path Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// The folder of real drawings saved by Jw_cad, or empty when it is absent.
std::filesystem::path RealDrawingsFolder();

}  // namespace varnelko::test
