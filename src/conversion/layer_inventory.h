#pragma once
// What lies on each layer of a drawing: for every layer group and layer that
// holds entities, its names and its entity counts by kind, and, for given
// conversion settings, how many colours and line types a conversion would
// change there.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_settings.h"
#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko {

struct LayerInventoryEntry {
  uint16_t group = 0;  // 0..15; entities with other numbers are listed as they are
  uint16_t layer = 0;
  std::string group_name;  // raw code page 932 bytes; empty in figures
  std::string layer_name;
  // Top-level entities by kind code 1..7 (index 0 unused).
  std::array<int64_t, 8> counts{};
  // Members of block definitions on this layer (each member once, however
  // often its block is inserted), by kind code.
  std::array<int64_t, 8> member_counts{};
  // Pen colours and pen styles the conversion would change here, counted on
  // the header that changes (a dimension's line or text lies on its own layer).
  int64_t colors_changed = 0;
  int64_t styles_changed = 0;

  int64_t Total() const;
};

struct LayerInventory {
  std::vector<LayerInventoryEntry> entries;  // by group, then layer
  bool with_changes = false;                 // the conversion columns are filled
  int64_t colors_changed = 0, styles_changed = 0;  // over all entries
};

LayerInventory BuildLayerInventory(const JwwDocument& doc,
                                   const std::optional<ConversionSettings>& settings);
LayerInventory BuildLayerInventory(const JwsDocument& doc,
                                   const std::optional<ConversionSettings>& settings);

}  // namespace varnelko
