#pragma once
// Settings and generated drawings and figures on disk, for conversion tests.
#include <filesystem>
#include <array>
#include <memory>

#include "conversion/conversion_settings.h"

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace varnelko::test {

inline ConversionSettings SettingsOf(std::array<int32_t, 8> slots) {
  ConversionSettings s;
  s.values = slots;
  return s;
}

inline void WriteJwwSample(const std::filesystem::path& path, const BuildOptions& options) {
  auto doc = std::make_unique<JwwDocument>(BuildJwwDocument(options));
  if (!WriteJwwFile(path, doc->header.version, *doc)) throw std::runtime_error("jww sample");
  FreeJwwDocument(*doc);
}

inline void WriteJwsSample(const std::filesystem::path& path, const BuildOptions& options) {
  JwsDocument doc = BuildJwsDocument(options);
  if (!WriteJwsFile(path, doc.version, doc)) throw std::runtime_error("jws sample");
}

// Every line and arc of `store` whose header is on layer `layer` of group
// `group` satisfies `check`; returns how many were checked.
template <typename Check>
size_t CheckLinesOn(const EntityStore& store, uint16_t group, uint16_t layer, Check check) {
  size_t n = 0;
  for (const TEntSen& e : store.lines) {
    if (e.header.layer_group == group && e.header.layer == layer) check(e.header), ++n;
  }
  for (const TEntEnko& e : store.arcs) {
    if (e.header.layer_group == group && e.header.layer == layer) check(e.header), ++n;
  }
  return n;
}

}  // namespace varnelko::test
