#include "support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/path_text.h"
#include "support/test_platform.h"

namespace varnelko::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device entropy;
  for (;;) {
    path_ = fs::temp_directory_path() / ("varnelko-test-" + std::to_string(entropy()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  // Windows may keep a file open for a moment after the program that wrote
  // it has ended (the output a CLI run was captured in), so a failed
  // removal is tried again for a while.
  for (int tries = 0; tries < 40; ++tries) {
    RemoveTree(path_);
    if (!fs::exists(fs::symlink_status(path_, ec))) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

fs::path TempDir::Write(std::string_view name, std::string_view bytes) const {
  fs::path p = path_ / PathFromUtf8(name);
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

fs::path RealDrawingsFolder() {
  // The environment may point elsewhere, e.g. in a work tree that has no
  // drawings beside it.
  const char* env = std::getenv("VARNELKO_REAL_DRAWINGS");
  fs::path p = env && *env ? fs::path(env) : fs::path(VARNELKO_REAL_DRAWINGS);
  std::error_code ec;
  return fs::is_directory(p, ec) ? p : fs::path();
}

}  // namespace varnelko::test
