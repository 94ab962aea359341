#include "conversion/conversion_changes.h"

namespace varnelko {
namespace {

uint8_t Diff(const TEntHeader& before, const TEntHeader& after, ConversionCounts& counts) {
  uint8_t bits = 0;
  if (before.pen_color != after.pen_color) bits |= kChangedColor, ++counts.colors;
  if (before.pen_style != after.pen_style) bits |= kChangedStyle, ++counts.styles;
  return bits;
}

template <typename T>
std::vector<uint8_t> DiffAll(const std::vector<T>& before, const std::vector<T>& after,
                             ConversionCounts& counts) {
  std::vector<uint8_t> bits(before.size(), 0);
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
    bits[i] = Diff(before[i].header, after[i].header, counts);
  }
  return bits;
}

ListChanges DiffList(const EntityList& before, const EntityList& after, ConversionCounts& counts) {
  ListChanges c;
  c.lines = DiffAll(before.lines, after.lines, counts);
  c.arcs = DiffAll(before.arcs, after.arcs, counts);
  c.points = DiffAll(before.points, after.points, counts);
  c.texts = DiffAll(before.texts, after.texts, counts);
  c.solids = DiffAll(before.solids, after.solids, counts);
  c.dimensions.resize(before.dimensions.size());
  for (size_t i = 0; i < before.dimensions.size() && i < after.dimensions.size(); ++i) {
    auto b = DimensionPartHeaders(before.dimensions[i]);
    auto a = DimensionPartHeaders(after.dimensions[i]);
    for (int p = 0; p < kDimensionParts; ++p) c.dimensions[i][p] = Diff(*b[p], *a[p], counts);
  }
  return c;
}

uint8_t At(const std::vector<uint8_t>& bits, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < bits.size() ? bits[index] : 0;
}

}  // namespace

std::array<const TEntHeader*, kDimensionParts> DimensionPartHeaders(const TEntSunpo& d) {
  return {&d.line.header,      &d.text.header,      &d.aux_lines[0].header,
          &d.aux_lines[1].header, &d.points[0].header, &d.points[1].header,
          &d.points[2].header, &d.points[3].header};
}

uint8_t ConversionChanges::Of(int32_t def, int32_t kind, int32_t index, uint8_t part) const {
  if (def >= 0 && static_cast<size_t>(def) >= defs.size()) return 0;
  const ListChanges& list = def < 0 ? top : defs[def];
  switch (kind) {
    case kKindLine: return At(list.lines, index);
    case kKindArc: return At(list.arcs, index);
    case kKindPoint: return At(list.points, index);
    case kKindText: return At(list.texts, index);
    case kKindSolid: return At(list.solids, index);
    case kKindDimension:
      if (index < 0 || static_cast<size_t>(index) >= list.dimensions.size()) return 0;
      if (part < kPartDimLine || part > kDimensionParts) return 0;
      return list.dimensions[index][part - 1];
    default: return 0;
  }
}

ConversionChanges ConvertAndCompare(const EntityStore& original, EntityStore& converted,
                                    int32_t version, const ConversionSettings& settings) {
  ApplyLayerConversion(converted, version, settings);
  ConversionChanges c;
  c.top = DiffList(original, converted, c.counts);
  c.defs.reserve(original.block_defs.size());
  for (size_t d = 0; d < original.block_defs.size() && d < converted.block_defs.size(); ++d) {
    c.defs.push_back(DiffList(original.block_defs[d].members, converted.block_defs[d].members,
                              c.counts));
  }
  return c;
}

ConversionChanges PlanConversion(const EntityStore& store, int32_t version,
                                 const ConversionSettings& settings) {
  EntityStore copy = store;
  return ConvertAndCompare(store, copy, version, settings);
}

}  // namespace varnelko
