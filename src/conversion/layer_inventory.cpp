#include "conversion/layer_inventory.h"

#include <map>
#include <utility>

#include "conversion/conversion_changes.h"

namespace varnelko {
namespace {

using LayerKey = std::pair<uint16_t, uint16_t>;  // group, layer

class Tally {
 public:
  LayerInventoryEntry& At(const TEntHeader& h) {
    LayerInventoryEntry& e = entries_[{h.layer_group, h.layer}];
    e.group = h.layer_group;
    e.layer = h.layer;
    return e;
  }

  // Entities of one list by their own header; `members` for block definitions.
  void CountList(const EntityList& list, bool members) {
    for (const TEntRef& ref : list.order) {
      const TEntHeader* h = HeaderOf(list, ref);
      if (!h) continue;
      auto& counts = members ? At(*h).member_counts : At(*h).counts;
      ++counts[ref.kind];
    }
  }

  // Changes land on the layer of the header that changes.
  void CountChanges(const EntityList& list, const ListChanges& c) {
    Add(list.lines, c.lines);
    Add(list.arcs, c.arcs);
    Add(list.points, c.points);
    Add(list.texts, c.texts);
    Add(list.solids, c.solids);
    for (size_t i = 0; i < list.dimensions.size() && i < c.dimensions.size(); ++i) {
      const auto parts = DimensionPartHeaders(list.dimensions[i]);
      for (int p = 0; p < kDimensionParts; ++p) AddBits(*parts[p], c.dimensions[i][p]);
    }
  }

  std::vector<LayerInventoryEntry> Take() {
    std::vector<LayerInventoryEntry> out;
    out.reserve(entries_.size());
    for (auto& [key, e] : entries_) out.push_back(std::move(e));
    return out;
  }

 private:
  static const TEntHeader* HeaderOf(const EntityList& l, const TEntRef& r) {
    auto get = [&](const auto& v) -> const TEntHeader* {
      return r.index >= 0 && static_cast<size_t>(r.index) < v.size() ? &v[r.index].header
                                                                      : nullptr;
    };
    switch (r.kind) {
      case kKindLine: return get(l.lines);
      case kKindArc: return get(l.arcs);
      case kKindPoint: return get(l.points);
      case kKindText: return get(l.texts);
      case kKindDimension: return get(l.dimensions);
      case kKindSolid: return get(l.solids);
      case kKindBlock: return get(l.blocks);
      default: return nullptr;
    }
  }

  void AddBits(const TEntHeader& h, uint8_t bits) {
    if (bits == 0) return;
    LayerInventoryEntry& e = At(h);
    if (bits & kChangedColor) ++e.colors_changed;
    if (bits & kChangedStyle) ++e.styles_changed;
  }

  template <typename T>
  void Add(const std::vector<T>& records, const std::vector<uint8_t>& bits) {
    for (size_t i = 0; i < records.size() && i < bits.size(); ++i) AddBits(records[i].header, bits[i]);
  }

  std::map<LayerKey, LayerInventoryEntry> entries_;
};

LayerInventory Build(const EntityStore& store, int32_t version,
                     const std::optional<ConversionSettings>& settings) {
  Tally tally;
  tally.CountList(store, false);
  for (const TEntBlockDef& def : store.block_defs) tally.CountList(def.members, true);
  LayerInventory inv;
  if (settings) {
    ConversionChanges changes = PlanConversion(store, version, *settings);
    tally.CountChanges(store, changes.top);
    for (size_t d = 0; d < store.block_defs.size() && d < changes.defs.size(); ++d) {
      tally.CountChanges(store.block_defs[d].members, changes.defs[d]);
    }
    inv.with_changes = true;
    inv.colors_changed = changes.counts.colors;
    inv.styles_changed = changes.counts.styles;
  }
  inv.entries = tally.Take();
  return inv;
}

}  // namespace

int64_t LayerInventoryEntry::Total() const {
  int64_t n = 0;
  for (int k = 1; k < 8; ++k) n += counts[k] + member_counts[k];
  return n;
}

LayerInventory BuildLayerInventory(const JwwDocument& doc,
                                   const std::optional<ConversionSettings>& settings) {
  LayerInventory inv = Build(doc.store, doc.header.version, settings);
  for (LayerInventoryEntry& e : inv.entries) {
    if (e.group < doc.layer_groups.size()) e.group_name = doc.layer_groups[e.group].name;
    if (e.group < 16 && e.layer < 16) e.layer_name = doc.layers[e.group * 16 + e.layer].name;
  }
  return inv;
}

LayerInventory BuildLayerInventory(const JwsDocument& doc,
                                   const std::optional<ConversionSettings>& settings) {
  return Build(doc.store, doc.version, settings);
}

}  // namespace varnelko
