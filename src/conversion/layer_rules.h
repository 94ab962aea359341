#pragma once
// The rules that turn the entities on the target layers into auxiliary
// colour 9 and/or auxiliary line type 9.
#include <cstddef>
#include <cstdint>

#include "conversion/conversion_settings.h"
#include "document/entity_store.h"

namespace varnelko {

constexpr uint16_t kAuxColor = 9;
constexpr uint8_t kAuxLineType = 9;

// How many pen colours and pen styles a conversion changed.
struct ConversionCounts {
  int64_t colors = 0;
  int64_t styles = 0;
  bool operator==(const ConversionCounts&) const = default;
};

uint16_t ConvertPenColor(const ConversionSettings& s, uint16_t color, uint16_t group,
                         uint16_t layer);
uint8_t ConvertPenStyle(const ConversionSettings& s, uint8_t style, uint16_t group,
                        uint16_t layer);

// Where an entity header sits in a drawing, which decides the rules that
// may touch it: the plain kinds, a dimension's own header and its members
// (its auxiliary lines count as dimension lines, its points as points), and
// a block definition's own header.
enum class HeaderPlace : uint8_t {
  kLine, kArc, kPoint, kText, kSolid, kBlock,
  kDimension, kDimensionLine, kDimensionText, kDimensionPoint,
  kBlockDef,
};
constexpr size_t kHeaderPlaces = 11;

// The rules for every place, top level and inside block definitions,
// decided once from the settings. Both the document conversion and the
// scan-and-patch conversion apply them through Apply, so that the two can
// never disagree.
class LayerRules {
 public:
  explicit LayerRules(const ConversionSettings& s);

  // Converts `h` as an entity at `place` (a member of a block definition
  // when `member`), counting the values that changed.
  void Apply(HeaderPlace place, bool member, TEntHeader& h, ConversionCounts& counts) const {
    const Rules r = rules_[member][static_cast<size_t>(place)];
    if (r.color) {
      uint16_t next = ConvertPenColor(s_, h.pen_color, h.layer_group, h.layer);
      counts.colors += next != h.pen_color;
      h.pen_color = next;
    }
    if (r.style) {
      uint8_t next = ConvertPenStyle(s_, h.pen_style, h.layer_group, h.layer);
      counts.styles += next != h.pen_style;
      h.pen_style = next;
    }
  }

 private:
  struct Rules {
    bool color = false;
    bool style = false;
  };
  const ConversionSettings s_;
  Rules rules_[2][kHeaderPlaces];
};

// Rewrites the store in place; `version` decides whether dimensions carry
// auxiliary lines and points (420 and later).
ConversionCounts ApplyLayerConversion(EntityStore& store, int32_t version,
                                      const ConversionSettings& s);

}  // namespace varnelko
