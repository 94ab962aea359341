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

// Applies one rule to one header and counts it when the value changed.
class Converter {
 public:
  Converter(const ConversionSettings& s, int32_t version)
      : s_(s), extras_(version >= kFirstVersionWithDimensionExtras) {}

  void Color(TEntHeader& h) {
    uint16_t next = ConvertPenColor(s_, h.pen_color, h.layer_group, h.layer);
    if (next != h.pen_color) ++counts_.colors;
    h.pen_color = next;
  }
  void Style(TEntHeader& h) {
    uint8_t next = ConvertPenStyle(s_, h.pen_style, h.layer_group, h.layer);
    if (next != h.pen_style) ++counts_.styles;
    h.pen_style = next;
  }

  // Colours of a dimension's members: its line and text, and from version
  // 420 its auxiliary lines and points. The dimension's own header stays.
  void DimensionColors(TEntSunpo& d) {
    Color(d.line.header);
    Color(d.text.header);
    if (!extras_) return;
    for (TEntSen& aux : d.aux_lines) Color(aux.header);
    for (TEntTen& p : d.points) Color(p.header);
  }
  // Line types of a dimension's member lines only; never its text or points.
  void DimensionStyles(TEntSunpo& d) {
    Style(d.line.header);
    if (!extras_) return;
    for (TEntSen& aux : d.aux_lines) Style(aux.header);
  }

  const ConversionCounts& counts() const { return counts_; }

 private:
  const ConversionSettings& s_;
  bool extras_;
  ConversionCounts counts_;
};

template <typename T>
void ColorAll(Converter& c, std::vector<T>& entities) {
  for (T& e : entities) c.Color(e.header);
}

// The dimension and block gates test for exactly 1, while the rules treat
// any non-zero C3 / C4 as on: a hand-edited slot of 2 converts plain
// entities but opens no gate.
bool DimensionGate(const ConversionSettings& s) {
  return (s.C(3) == 1 && s.C(5) == 1) || (s.C(4) == 1 && s.C(7) == 1);
}

void ConvertTopLevel(Converter& c, EntityStore& store, const ConversionSettings& s) {
  for (TEntSen& e : store.lines) {
    c.Color(e.header);
    c.Style(e.header);
  }
  for (TEntEnko& e : store.arcs) {
    c.Color(e.header);
    c.Style(e.header);
  }
  ColorAll(c, store.points);
  ColorAll(c, store.texts);
  if (DimensionGate(s)) {
    for (TEntSunpo& d : store.dimensions) {
      if (s.C(5) == 1) c.DimensionColors(d);
      if (s.C(7) == 1) c.DimensionStyles(d);
    }
  }
  ColorAll(c, store.solids);
  // Block insertions keep their pen colour and style.
}

void ConvertBlockMembers(Converter& c, EntityList& m, const ConversionSettings& s) {
  const bool colors = s.C(6) == 1;
  const bool styles = s.C(8) == 1;
  auto line_like = [&](TEntHeader& h) {
    if (colors) c.Color(h);
    if (styles) c.Style(h);
  };
  for (TEntSen& e : m.lines) line_like(e.header);
  for (TEntEnko& e : m.arcs) line_like(e.header);
  if (colors) {
    ColorAll(c, m.points);
    ColorAll(c, m.texts);
  }
  if (DimensionGate(s)) {
    for (TEntSunpo& d : m.dimensions) {
      if (s.C(3) == 1 && s.C(5) == 1 && colors) c.DimensionColors(d);
      if (s.C(4) == 1 && s.C(7) == 1 && styles) c.DimensionStyles(d);
    }
  }
  if (s.C(3) == 1 && colors) ColorAll(c, m.solids);
  // Member block insertions are not visited.
}

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

ConversionCounts ApplyLayerConversion(EntityStore& store, int32_t version,
                                      const ConversionSettings& s) {
  Converter c(s, version);
  ConvertTopLevel(c, store, s);
  if (s.C(6) == 1 || s.C(8) == 1) {
    for (TEntBlockDef& def : store.block_defs) ConvertBlockMembers(c, def.members, s);
  }
  return c.counts();
}

}  // namespace varnelko
