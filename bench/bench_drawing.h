#pragma once
// The generated benchmark drawing: about 200,000 entities of every kind and
// 60 block definitions, the same on every run.
#include "document/jww_document.h"
#include "support/document_builder.h"

namespace varnelko::bench {

constexpr int32_t kVersion = 700;

inline JwwDocument BuildBenchDrawing() {
  test::BuildOptions options;
  options.version = kVersion;
  options.entities = 200000;
  options.block_defs = 60;
  options.seed = 7;
  return test::BuildJwwDocument(options);
}

}  // namespace varnelko::bench
