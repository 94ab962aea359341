#pragma once
// How a layer shows, from the states a drawing stores for it and its group:
// 0 hidden, 1 shown but locked, 2 editable, 3 the layer being written. A
// hidden group hides all its layers, a locked group locks them; values the
// program never writes show the layer as editable.
#include <cstdint>

namespace varnelko {

enum class LayerShow : uint8_t { kShown, kLocked, kHidden };

inline LayerShow ShowOf(int32_t group_state, int32_t layer_state) {
  if (group_state == 0 || layer_state == 0) return LayerShow::kHidden;
  if (group_state == 1 || layer_state == 1) return LayerShow::kLocked;
  return LayerShow::kShown;
}

}  // namespace varnelko
