#include "conversion/layer_rules.h"

namespace varnelko {

namespace {

constexpr uint16_t kMaxConvertibleColor = 356;
constexpr uint8_t kMaxConvertibleStyle = 62;
constexpr int32_t kFirstVersionWithDimensionExtras = 420;

// A slot picks one group / layer (0..15) or all of them (16); any other
// value, negative ones included, picks none.
bool SlotPicks(int32_t slot, uint16_t value) {
  if (slot == kAllLayers) return true;
  return slot >= 0 && slot <= 15 && value == slot;
}

bool OnTarget(const ConversionSettings& s, uint16_t group, uint16_t layer) {
  return SlotPicks(s.C(1), group) && SlotPicks(s.C(2), layer);
}

// The dimension and block gates test for exactly 1, while the rules treat
// any non-zero C3 / C4 as on: a hand-edited slot of 2 converts plain
// entities but opens no gate.
bool DimensionGate(const ConversionSettings& s) {
  return (s.C(3) == 1 && s.C(5) == 1) || (s.C(4) == 1 && s.C(7) == 1);
}

// Walks one list with the rules of its level.
class ListConverter {
 public:
  ListConverter(const LayerRules& rules, bool member, int32_t version, ConversionCounts& counts)
      : rules_(rules), member_(member), extras_(version >= kFirstVersionWithDimensionExtras),
        counts_(counts) {}

  void Convert(EntityList& list) {
    All(list.lines, HeaderPlace::kLine);
    All(list.arcs, HeaderPlace::kArc);
    All(list.points, HeaderPlace::kPoint);
    All(list.texts, HeaderPlace::kText);
    for (TEntSunpo& d : list.dimensions) Dimension(d);
    All(list.solids, HeaderPlace::kSolid);
    All(list.blocks, HeaderPlace::kBlock);
  }

 private:
  void Apply(HeaderPlace place, TEntHeader& h) { rules_.Apply(place, member_, h, counts_); }

  template <typename T>
  void All(std::vector<T>& entities, HeaderPlace place) {
    for (T& e : entities) Apply(place, e.header);
  }

  // A dimension's members; from version 420 its auxiliary lines and points.
  void Dimension(TEntSunpo& d) {
    Apply(HeaderPlace::kDimension, d.header);
    Apply(HeaderPlace::kDimensionLine, d.line.header);
    Apply(HeaderPlace::kDimensionText, d.text.header);
    if (!extras_) return;
    for (TEntSen& aux : d.aux_lines) Apply(HeaderPlace::kDimensionLine, aux.header);
    for (TEntTen& p : d.points) Apply(HeaderPlace::kDimensionPoint, p.header);
  }

  const LayerRules& rules_;
  const bool member_;
  const bool extras_;
  ConversionCounts& counts_;
};

}  // namespace

uint16_t ConvertPenColor(const ConversionSettings& s, uint16_t color, uint16_t group,
                         uint16_t layer) {
  if (s.C(3) == 0) return color;
  if (color < 1 || color > kMaxConvertibleColor) return color;
  return OnTarget(s, group, layer) ? kAuxColor : color;
}

uint8_t ConvertPenStyle(const ConversionSettings& s, uint8_t style, uint16_t group,
                        uint16_t layer) {
  if (s.C(4) == 0) return style;
  if (style < 1 || style > kMaxConvertibleStyle) return style;
  return OnTarget(s, group, layer) ? kAuxLineType : style;
}

LayerRules::LayerRules(const ConversionSettings& s) : s_(s) {
  using P = HeaderPlace;
  auto set = [this](bool member, P place, bool color, bool style) {
    rules_[member][static_cast<size_t>(place)] = Rules{color, style};
  };
  // Every place not set here (block insertions, a dimension's own header, a
  // block definition's header) keeps its colour and style.
  const bool dims = DimensionGate(s);
  // Top level: the colour rule and the line type rule themselves test C3
  // and C4; dimension members also need the dimension gate and C5 / C7.
  set(false, P::kLine, true, true);
  set(false, P::kArc, true, true);
  set(false, P::kPoint, true, false);
  set(false, P::kText, true, false);
  set(false, P::kSolid, true, false);
  set(false, P::kDimensionLine, dims && s.C(5) == 1, dims && s.C(7) == 1);
  set(false, P::kDimensionText, dims && s.C(5) == 1, false);
  set(false, P::kDimensionPoint, dims && s.C(5) == 1, false);
  // Members of block definitions: C6 for colours, C8 for line types; their
  // dimensions and solids test the switches for exactly 1.
  const bool colors = s.C(6) == 1;
  const bool styles = s.C(8) == 1;
  const bool dim_colors = dims && s.C(3) == 1 && s.C(5) == 1 && colors;
  const bool dim_styles = dims && s.C(4) == 1 && s.C(7) == 1 && styles;
  set(true, P::kLine, colors, styles);
  set(true, P::kArc, colors, styles);
  set(true, P::kPoint, colors, false);
  set(true, P::kText, colors, false);
  set(true, P::kSolid, s.C(3) == 1 && colors, false);
  set(true, P::kDimensionLine, dim_colors, dim_styles);
  set(true, P::kDimensionText, dim_colors, false);
  set(true, P::kDimensionPoint, dim_colors, false);
}

ConversionCounts ApplyLayerConversion(EntityStore& store, int32_t version,
                                      const ConversionSettings& s) {
  const LayerRules rules(s);
  ConversionCounts counts;
  ListConverter(rules, false, version, counts).Convert(store);
  for (TEntBlockDef& def : store.block_defs) {
    ListConverter(rules, true, version, counts).Convert(def.members);
  }
  return counts;
}

}  // namespace varnelko
