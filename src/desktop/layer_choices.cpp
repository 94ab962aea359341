#include "desktop/layer_choices.h"

#include <thread>

#include "conversion/layer_inventory.h"
#include "desktop/shell_texts.h"
#include "document/cp932.h"
#include "document/layer_state.h"
#include "formats/loaded_drawing.h"

namespace varnelko {

namespace {

void Keep(std::string& name, bool& differ, const std::string& candidate) {
  if (candidate.empty()) return;
  if (name.empty()) {
    name = candidate;
  } else if (name != candidate) {
    differ = true;
  }
}

std::string ItemText(int index, const std::string& name, bool differ, int64_t count,
                     const std::string& hidden = {}) {
  std::string text = PlainItemText(index);
  if (!name.empty()) {
    text += " : " + Cp932ToUtf8(name);
    if (differ) text += " 他";
  }
  return text + " (" + GroupedNumber(count) + ")" + hidden;
}

// " (非表示)" when all `of` drawings hide it, " (一部非表示)" when some do.
std::string HiddenMark(int hidden, int of) {
  if (hidden == 0) return "";
  return hidden == of ? " (非表示)" : " (一部非表示)";
}

bool IsLayerNumber(int n) { return n >= 0 && n < kLayerNumbers; }

}  // namespace

std::string PlainItemText(int index) {
  return IsLayerNumber(index) ? std::string(1, "0123456789ABCDEF"[index]) : "全て";
}

void LayerTally::Add(const LoadedDrawing& drawing) {
  ++drawings;
  const LayerInventory inventory = drawing.jww()
                                       ? BuildLayerInventory(*drawing.jww(), std::nullopt)
                                       : BuildLayerInventory(*drawing.jws(), std::nullopt);
  for (const LayerInventoryEntry& e : inventory.entries) {
    if (IsLayerNumber(e.group) && IsLayerNumber(e.layer)) counts[e.group][e.layer] += e.Total();
  }
  // Empty layers have names too; a figure has none, nor states.
  if (const JwwDocument* doc = drawing.jww()) {
    ++drawings_with_states;
    for (int g = 0; g < kLayerNumbers; ++g) {
      Keep(group_names[g], group_names_differ[g], doc->layer_groups[g].name);
      const int32_t group_state = doc->layer_groups[g].state;
      if (ShowOf(group_state, 2) == LayerShow::kHidden) ++hidden_groups[g];
      for (int l = 0; l < kLayerNumbers; ++l) {
        const TLayer& layer = doc->layers[g * 16 + l];
        Keep(layer_names[g][l], layer_names_differ[g][l], layer.name);
        if (ShowOf(group_state, layer.state) == LayerShow::kHidden) ++hidden_layers[g][l];
      }
    }
  }
}

int64_t LayerTally::GroupCount(int group) const {
  int64_t n = 0;
  for (int64_t c : counts[group]) n += c;
  return n;
}

int64_t LayerTally::LayerCount(int group, int layer) const {
  if (IsLayerNumber(group)) return counts[group][layer];
  int64_t n = 0;
  for (int g = 0; g < kLayerNumbers; ++g) n += counts[g][layer];
  return n;
}

int64_t GroupItemCount(const LayerTally& tally, int index) {
  if (IsLayerNumber(index)) return tally.GroupCount(index);
  int64_t n = 0;
  for (int g = 0; g < kLayerNumbers; ++g) n += tally.GroupCount(g);
  return n;
}

int64_t LayerItemCount(const LayerTally& tally, int group, int index) {
  if (IsLayerNumber(index)) return tally.LayerCount(group, index);
  int64_t n = 0;
  for (int l = 0; l < kLayerNumbers; ++l) n += tally.LayerCount(group, l);
  return n;
}

std::string GroupItemText(const LayerTally& tally, int index) {
  if (!IsLayerNumber(index)) return ItemText(index, {}, false, GroupItemCount(tally, index));
  return ItemText(index, tally.group_names[index], tally.group_names_differ[index],
                  GroupItemCount(tally, index),
                  HiddenMark(tally.hidden_groups[index], tally.drawings_with_states));
}

std::string LayerItemText(const LayerTally& tally, int group, int index) {
  // Layer names belong to a group; over every group no one name fits.
  if (!IsLayerNumber(index) || !IsLayerNumber(group)) {
    return ItemText(index, {}, false, LayerItemCount(tally, group, index));
  }
  return ItemText(index, tally.layer_names[group][index], tally.layer_names_differ[group][index],
                  LayerItemCount(tally, group, index),
                  HiddenMark(tally.hidden_layers[group][index], tally.drawings_with_states));
}

LayerTallyReader::LayerTallyReader(std::vector<std::filesystem::path> files, PostToUi post,
                                   std::function<void(const LayerTally&)> on_finished)
    : stop_(std::make_shared<std::atomic<bool>>(false)) {
  // The thread owns what it uses; the tally reaches the window only if this
  // reader still exists then (its end sets `stop` on the same thread).
  std::thread([stop = stop_, files = std::move(files), post = std::move(post),
               on_finished = std::move(on_finished)] {
    auto tally = std::make_shared<LayerTally>();
    for (const std::filesystem::path& file : files) {
      if (*stop) return;
      LoadedDrawing drawing;
      if (drawing.Load(file, nullptr)) {
        tally->Add(drawing);
      } else {
        ++tally->failed;
      }
    }
    if (*stop) return;  // the window may be going: nothing to hand over
    post([stop, tally, on_finished] {
      if (!*stop) on_finished(*tally);
    });
  }).detach();
}

LayerTallyReader::~LayerTallyReader() { *stop_ = true; }

}  // namespace varnelko
