#pragma once
// The rules that turn the entities on the target layers into auxiliary
// colour 9 and/or auxiliary line type 9.
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

// Rewrites the store in place; `version` decides whether dimensions carry
// auxiliary lines and points (420 and later).
ConversionCounts ApplyLayerConversion(EntityStore& store, int32_t version,
                                      const ConversionSettings& s);

}  // namespace varnelko
