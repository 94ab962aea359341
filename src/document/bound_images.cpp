#include "document/bound_images.h"

#include <atomic>
#include <chrono>
#include <random>
#include <system_error>

#include "document/text_helpers.h"

namespace varnelko {
namespace fs = std::filesystem;

void ClearBoundImages(BoundImages& images) { images.list.clear(); }

fs::path ScratchPathOf(const BoundImages& images, const std::string& name) {
  // Names are raw bytes from the drawing; they become the file name as they are.
  return images.scratch_folder / fs::path(name);
}

void DeleteBoundImageFiles(const BoundImages& images) {
  if (images.scratch_folder.empty()) return;
  for (const TBindImageType& entry : images.list) {
    if (!IsPlainImageName(entry.name)) continue;
    std::error_code ec;
    fs::remove(ScratchPathOf(images, entry.name), ec);  // a failure is passed over
  }
}

bool IsPlainImageName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A zero byte would cut the name short at the system call.
  auto separator = [](char c) { return c == '/' || c == '\\' || c == ':' || c == '\0'; };
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(static_cast<uint8_t>(name[i])) && i + 1 < name.size()) {
      // The second byte of a double-byte character may be 0x5C, the code of
      // a backslash (as in "表" or "ソ"): there it is part of the character.
      // "/", ":" and a zero byte are never such a second byte.
      if (name[++i] != '\\' && separator(name[i])) return false;
    } else if (separator(name[i])) {
      return false;
    }
  }
  return true;
}

bool EnsureScratchFolder(BoundImages& images) {
  if (!images.scratch_folder.empty()) return true;
  static std::atomic<unsigned> serial{0};
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) return false;
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned tag = entropy() ^ (serial++ * 2654435761u) ^
                   static_cast<unsigned>(
                       std::chrono::steady_clock::now().time_since_epoch().count());
    fs::path candidate = base / ("varnelko-images-" + std::to_string(tag));
    // create_directory reports false when the folder was already there, so a
    // folder is never shared with another document or process.
    if (fs::create_directory(candidate, ec) && !ec) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      images.scratch_folder = candidate;
      return true;
    }
  }
  return false;
}

void ReleaseScratchFolder(BoundImages& images) {
  if (images.scratch_folder.empty()) return;
  DeleteBoundImageFiles(images);
  std::error_code ec;
  fs::remove(images.scratch_folder, ec);  // only succeeds when empty
  images.scratch_folder.clear();
}

}  // namespace varnelko
