#pragma once
// Which entity records a conversion would change, found by converting a copy
// and comparing every header before and after. Views use it to mark the
// changed entities; the layer inventory counts it per layer.
#include <array>
#include <cstdint>
#include <vector>

#include "conversion/layer_rules.h"
#include "document/entity_store.h"

namespace varnelko {

// Bits of one record's change.
constexpr uint8_t kChangedColor = 1;
constexpr uint8_t kChangedStyle = 2;

// The parts of a dimension that carry headers of their own.
enum DimensionPart : uint8_t {
  kPartWhole = 0,  // a record that is not a dimension member
  kPartDimLine = 1,
  kPartDimText = 2,
  kPartDimAux1 = 3,
  kPartDimAux2 = 4,
  kPartDimPoint1 = 5,  // points 1..4 are parts 5..8
};
constexpr int kDimensionParts = 8;

// The headers of a dimension's parts, in part order (part - 1).
std::array<const TEntHeader*, kDimensionParts> DimensionPartHeaders(const TEntSunpo& d);

// The changes of one entity list, one byte of kChanged* bits per record.
struct ListChanges {
  std::vector<uint8_t> lines, arcs, points, texts, solids;
  std::vector<std::array<uint8_t, kDimensionParts>> dimensions;  // part - 1
};

struct ConversionChanges {
  ListChanges top;
  std::vector<ListChanges> defs;  // one per block definition, in store order
  ConversionCounts counts;        // equals what ApplyLayerConversion reports

  // The bits of record `index` of `kind` in the top level (def < 0) or in
  // block definition `def`; 0 for anything unknown.
  uint8_t Of(int32_t def, int32_t kind, int32_t index, uint8_t part) const;
};

// Converts `converted` (a copy of `original`, as the caller made it) in
// place and records what changed.
ConversionChanges ConvertAndCompare(const EntityStore& original, EntityStore& converted,
                                    int32_t version, const ConversionSettings& settings);

// The same without keeping the converted copy.
ConversionChanges PlanConversion(const EntityStore& store, int32_t version,
                                 const ConversionSettings& settings);

}  // namespace varnelko
