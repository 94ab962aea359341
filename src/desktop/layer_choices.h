#pragma once
// What the settings dialog's layer combo boxes tell about the drawings
// selected in the list: for each layer group and layer its name and how
// many entities lie there over all of them, e.g. "3 : 壁 (1,204)". The
// drawings are read on a thread of their own while the dialog is open.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/ui_post.h"

namespace varnelko {

class LoadedDrawing;

constexpr int kLayerNumbers = 16;

struct LayerTally {
  int drawings = 0;  // read and counted
  int failed = 0;    // could not be read
  // The first name any drawing gives, raw code page 932; `*_differ` when a
  // later drawing names it otherwise.
  std::array<std::string, kLayerNumbers> group_names;
  std::array<std::array<std::string, kLayerNumbers>, kLayerNumbers> layer_names;
  std::array<bool, kLayerNumbers> group_names_differ{};
  std::array<std::array<bool, kLayerNumbers>, kLayerNumbers> layer_names_differ{};
  // Entities by group and layer, members of block definitions included.
  std::array<std::array<int64_t, kLayerNumbers>, kLayerNumbers> counts{};
  // Drawings (JWW only: figures store no states) that hide each group, and
  // each layer by itself or with its group: converting there changes
  // nothing anyone sees.
  int drawings_with_states = 0;
  std::array<int, kLayerNumbers> hidden_groups{};
  std::array<std::array<int, kLayerNumbers>, kLayerNumbers> hidden_layers{};

  void Add(const LoadedDrawing& drawing);
  int64_t GroupCount(int group) const;
  // Layer `layer` in group `group`, or in every group when `group` is not 0..15.
  int64_t LayerCount(int group, int layer) const;
};

// The plain text of item 0..16: "0".."F", then "全て".
std::string PlainItemText(int index);
// Texts of the 17 items (UTF-8): "0".."F" with the name when there is one
// and the count, marked "(非表示)" when every drawing hides it and
// "(一部非表示)" when some do; then "全て" with the count.
std::string GroupItemText(const LayerTally& tally, int index);
std::string LayerItemText(const LayerTally& tally, int group, int index);
int64_t GroupItemCount(const LayerTally& tally, int index);
int64_t LayerItemCount(const LayerTally& tally, int group, int index);

// Reads the drawings on a thread and hands the tally over once, when all
// are read, to `on_finished` on the user-interface thread. The thread may
// outlive the reader and the window: `post` must stay callable for the
// program's life.
class LayerTallyReader {
 public:
  LayerTallyReader(std::vector<std::filesystem::path> files, PostToUi post,
                   std::function<void(const LayerTally&)> on_finished);
  // Tells the thread to stop after the drawing it is reading, without
  // waiting for it: a big drawing must not hold up the window.
  ~LayerTallyReader();
  LayerTallyReader(const LayerTallyReader&) = delete;
  LayerTallyReader& operator=(const LayerTallyReader&) = delete;

 private:
  std::shared_ptr<std::atomic<bool>> stop_;
};

}  // namespace varnelko
