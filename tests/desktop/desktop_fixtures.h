#pragma once
// Drawings, folders and a user-interface queue that the desktop layer's
// tests and the window tests of every toolkit share.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "desktop/ui_post.h"
#include "support/temp_dir.h"

namespace varnelko::test {

// A JWW drawing of a few entities whose memo is `memo_utf8`; `seed` varies
// the entities.
void WriteMemoDrawing(const std::filesystem::path& path, const std::string& memo_utf8,
                      uint32_t seed = 1);

// The first 800 bytes of a JWC drawing with its two memo fields.
std::string JwcBytes(const std::string& memo1, const std::string& memo2);

// A drawing of `lines` horizontal lines on group 1 layer 3 ("壁" in "1階"),
// one line on group 1 layer 5, and a frame on group 0 layer 0 that a
// conversion of group 1 leaves alone.
void WriteLayeredDrawing(const std::filesystem::path& path, int lines);

// Drawings "d0.jww" ... with the memos "図面 0" ..., with a text file
// "note.txt" second and a missing "gone.jww" fourth in the list.
std::vector<std::filesystem::path> MakeMemoFiles(const TempDir& temp, int drawings);

// A folder to convert: "a.jww" and "B.JWW" (drawings), "c.txt" (text).
std::filesystem::path MakeConvertFolder(const TempDir& temp, const std::string& name);

// Stands for a window's event loop: what the layer posts waits here until
// the test runs it, on the test's thread.
class UiQueue {
 public:
  PostToUi Post();
  // Runs posted functions until `done` holds or `timeout` passes; true when
  // `done` held.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Runs what is posted by now.
  void RunPending();

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace varnelko::test
